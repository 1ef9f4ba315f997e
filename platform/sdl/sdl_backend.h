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

// What differs between the desktops the backend runs on: desktop_x11.cpp (Linux, X11 or
// Wayland) and desktop_windows.cpp.
// Before SDL's video starts: the window's class, and a watch for the window being destroyed
// by someone else (true once it was); and where a terminal's hang-up ends the game.
void DesktopBeforeVideo(const char* className);
void DesktopWindowMade(SDL_Window* window);
bool DesktopWindowGone();
// Before the window is destroyed, and once the video has ended.
void DesktopBeforeDestroy();
void DesktopVideoEnded();
void DesktopEndOnHangUp();
// Why no screen could be opened, for the failure line.
void DesktopNoDisplayReason();
// Whether a window manager carries out a full-screen request.
bool DesktopWindowManagerRuns(SDL_Window* window);
// Whether the machine surely has no graphics device, so that a GPU renderer would be emulated.
bool DesktopHasNoGpu();
