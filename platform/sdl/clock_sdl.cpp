// The real clock: SDL's millisecond count since it first started, less the time spent held
// (paused), so that a paused frame's wait goes on where it stopped.
#include <SDL.h>

#include "platform/device/hooks.h"
#include "platform/window.h"

double BackendNowMs() { return static_cast<double>(SDL_GetTicks64()); }

uint32_t TickCount() { return SDL_GetTicks() - DeviceHeldMs(); }
