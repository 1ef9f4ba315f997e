// The browser's clock: milliseconds since the page began, less the time spent held (paused),
// so that a paused frame's wait goes on where it stopped.
#include <emscripten/emscripten.h>

#include "platform/device/hooks.h"
#include "platform/window.h"

double BackendNowMs() { return emscripten_get_now(); }

uint32_t TickCount() { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())) - DeviceHeldMs(); }
