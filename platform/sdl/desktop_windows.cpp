// The Windows desktop: the system manages every window, and a graphics device is always there
// to try (Direct3D, or Windows' own software one). The console's events: console_windows.cpp.
#include "platform/device/hooks.h"
#include "platform/sdl/sdl_backend.h"

// The class names the window for the desktop on X11 only. On Windows, pixels are pixels: a
// screen scaled to 150 % would otherwise get the game's crisp picture stretched soft by the system.
void DesktopBeforeVideo(const char*) { SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2"); }
void DesktopWindowMade(SDL_Window*) {}
bool DesktopWindowGone() { return false; }
void DesktopBeforeDestroy() {}
void DesktopVideoEnded() {}
void DesktopNoDisplayReason() { DeviceReason("SDL video: no display to show the game on"); }
bool DesktopWindowManagerRuns(SDL_Window*) { return true; }
bool DesktopHasNoGpu() { return false; }
