// The browser's clock: milliseconds since the page began, less the time spent paused, so that
// a paused frame's wait goes on where it stopped.
#include <emscripten/emscripten.h>

#include "platform/web/web_backend.h"
#include "platform/window.h"

uint32_t TickCount() { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())) - WebPausedMs(); }
