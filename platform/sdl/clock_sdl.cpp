// The real clock: SDL's millisecond count since it first started, less the time spent paused,
// so that a paused frame's wait goes on where it stopped.
#include <SDL.h>

#include "platform/sdl/sdl_backend.h"
#include "platform/window.h"

uint32_t TickCount() { return SDL_GetTicks() - SdlPausedMs(); }
