#pragma once
// The seven sound clips: loaded once at start-up, then started, looped and stopped by slot.
#include <cstdint>

#include "platform/audio.h"
#include "platform/window.h"

// What PlaySoundObject does with a slot; any other value does nothing.
enum PlayMode : int32_t { PLAY_LOOP = -1, PLAY_STOP = 0, PLAY_ONCE = 1 };

// Slots 0 to 6 hold the clips; the last slot always stays empty.
enum : int32_t { SOUND_SLOTS = 8 };

// Null before set-up and after release.
extern AudioDevice SoundDevice;
extern AudioBuffer PrimarySoundBuffer;
extern AudioBuffer SoundBank[SOUND_SLOTS];

// 1 when the device is ready for clips; on failure writes one line, releases what it
// made and returns 0.
int InitDirectSound(WindowHandle window);
// 1 when the "WAVE" resource `name` is in the slot's buffer; on failure writes one line and
// returns 0, leaving the slots loaded so far to the caller's ReleaseDirectSound.
int InitSoundObject(int32_t slot, const char* name);
// Plays a loaded slot once (PLAY_ONCE), looping (PLAY_LOOP) or stops it (PLAY_STOP).
void PlaySoundObject(int32_t slot, int32_t mode);
// Sees every PlaySoundObject request before it is carried out, for the trace tool and tests;
// null (the default) for none.
using PlaySoundObserver = void (*)(int32_t slot, int32_t mode);
void SetPlaySoundObserver(PlaySoundObserver observer);
// Releases whatever is held, clips first; a second call does nothing.
void ReleaseDirectSound();
