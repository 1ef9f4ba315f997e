#pragma once
// The seven sound clips: loaded once at start-up, then started, looped and stopped by slot.
#include <cstdint>

#include "platform/audio.h"
#include "platform/window.h"
#include "sound/play.h"

// The clips' slots, then one that always stays empty.
enum : int32_t { SOUND_SLOTS = SOUND_CLIPS + 1 };

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
// Sees every PlaySoundObject request before it is carried out, for the trace tool and tests;
// null (the default) for none.
using PlaySoundObserver = void (*)(int32_t slot, int32_t mode);
void SetPlaySoundObserver(PlaySoundObserver observer);
// Releases whatever is held, clips first; a second call does nothing.
void ReleaseDirectSound();
