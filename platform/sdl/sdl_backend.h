#pragma once
// Shared inside the SDL backend only.
#include <SDL.h>

#include "platform/window.h"

SDL_Window* SdlWindowOf(WindowHandle window);
// Whether the user named a driver in the environment variable SDL reads for it
// (SDL_VIDEODRIVER, SDL_AUDIODRIVER): only then is a failing or screenless one kept.
bool SdlDriverNamed(const char* variable);
// True while the game window has the keyboard focus (read from the audio thread too).
bool SdlWindowIsActive();
// Shows the visible page again after the window was exposed or resized.
void SdlRepresent();
// Shows the page the last flip made visible, if it is not shown yet: called as the frame's
// wait begins.
void SdlShowFlippedPage();
// The game has finished its frame's work and waits: repeated debug lines are counted per frame.
void SdlDebugEndOfFrame();
