// The real clock: SDL's millisecond count since it first started.
#include <SDL.h>

#include "platform/window.h"

uint32_t TickCount() { return SDL_GetTicks(); }
