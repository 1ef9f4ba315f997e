#pragma once
// Shared inside the SDL backend only.
#include <SDL.h>

#include "platform/shell.h"
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

// The window, made hidden: on the whole screen, or a window of the size WindowedSize gives.
SDL_Window* SdlCreateGameWindow(const char* title, bool windowed);
void SdlSwitchWindowMode(SDL_Window* window, bool windowed);

// The player's shell (platform/shell.h). While paused no frame runs: the game's messages wait,
// the clock stands still, the sound holds its place and the screen shows the page dimmed.

const ShellRun& SdlShellRun();
bool SdlMuted();
bool SdlPaused();
void SdlSetPaused(bool on);
// Milliseconds spent paused so far, which the game's clock leaves out.
uint32_t SdlPausedMs();
// Pause, mute, window-mode and picture keys, taken (true) before the game sees them.
bool SdlShellTakesKey(const SDL_KeyboardEvent& key, SDL_Window* window);
void SdlShellFocusChanged(SDL_Window* window, bool gained);
// Holds the sound output where it is, or lets it play on.
void SdlAudioHold(bool hold);

// Game controllers, as the player's key messages; true for an event that was a pad's.
void SdlGamepadsOpen();
void SdlGamepadsClose();
bool SdlGamepadEvent(const SDL_Event& event);
// Whether any joystick is plugged in; SDL then polls for events instead of sleeping on them.
bool SdlJoysticksPresent();
// Queues a message that comes from the player: it reaches the game, and the shell hears of it,
// only while the player steers (Escape and close requests always).
void SdlPostPlayerMessage(uint32_t message, uintptr_t wParam);
