// Any bytes as the sheet resource, through the same loaders the game calls at start-up.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/display.h"
#include "gfx/sheet.h"
#include "platform/headless/headless.h"

namespace {

intptr_t Procedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return WindowDefaultProcedure(window, message, wParam, lParam);
}

bool SetUpDisplay() {
    HeadlessReset();
    HeadlessSetCallLogging(false);
    WindowHandle window = WindowCreate("orb", "Direct X Game ", Procedure);
    return window != nullptr && InitDirectDraw(window, 640, 480, 640, 640) == 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = SetUpDisplay();
    if (!ready) __builtin_trap();
    // The resource holds exactly these bytes, so a read past them is caught.
    HeadlessSetResource("BITMAP", "BITMAP", std::vector<uint8_t>(data, data + size));
    InitPalette("BITMAP");
    InitBitmap("BITMAP", 640, 640);
    HeadlessClearDebugLines();
    return 0;
}
