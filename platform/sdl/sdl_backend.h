#pragma once
// Shared inside the SDL backend only.
#include <SDL.h>

#include "platform/window.h"

SDL_Window* SdlWindowOf(WindowHandle window);
// The game's window, or null.
SDL_Window* SdlGameWindow();
// Whether the user named a driver in the environment variable SDL reads for it
// (SDL_VIDEODRIVER, SDL_AUDIODRIVER): only then is a failing or screenless one kept.
bool SdlDriverNamed(const char* variable);
// True while the game window has the keyboard focus (read from the audio thread too).
bool SdlWindowIsActive();
// Shows the visible page again after the window was exposed, resized or held.
void SdlRepresent();
// Shows the page the last flip made visible, if it is not shown yet: called as the frame's
// wait begins.
void SdlShowFlippedPage();
// The picture is laid out afresh at the next present (the scaling changed).
void SdlLayOutAgain();

// The window or the whole screen, and the scaling, as the player's shell last chose them.
bool SdlWindowed();
bool SdlIntegerScaling();
// The window, made hidden: on the whole screen, or a window of the size WindowedSize gives.
SDL_Window* SdlCreateGameWindow(const char* title, bool windowed);
void SdlSwitchWindowMode(SDL_Window* window, bool windowed);

// Holds the sound output where it is, or lets it play on.
void SdlAudioHold(bool hold);

// Game controllers, reported to the player's shell; true for an event that was a pad's.
void SdlGamepadsOpen();
void SdlGamepadsClose();
bool SdlGamepadEvent(const SDL_Event& event);
// Whether any joystick is plugged in; SDL then polls for events instead of sleeping on them.
bool SdlJoysticksPresent();
