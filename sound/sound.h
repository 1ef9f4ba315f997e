#pragma once
// The seven sound clips: loaded once at start-up, then started, looped and stopped by slot.
#include <cstdint>

#include "platform/window.h"

// What PlaySoundObject does with a slot; any other value does nothing.
enum PlayMode : int32_t { PLAY_LOOP = -1, PLAY_STOP = 0, PLAY_ONCE = 1 };

int InitDirectSound(WindowHandle window);
int InitSoundObject(int32_t slot, const char* name);
void PlaySoundObject(int32_t slot, int32_t mode);
void ReleaseDirectSound();
