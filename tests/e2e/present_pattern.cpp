// Shows a known page through the real display backend, then waits to be closed.
// The page: four quadrants of red, green, blue and white, and in the top-left corner a
// one-pixel checkerboard of red and white that only crisp scaling keeps.
#include <cstdio>

#include "gfx/display.h"
#include "gfx/draw.h"
#include "platform/display.h"
#include "platform/window.h"

namespace {

intptr_t Procedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case WM_CLOSE:
            ReleaseDirectDraw();
            WindowDestroy(window);
            return 1;
        case WM_DESTROY: MessagePostQuit(0); return 1;
        default: return WindowDefaultProcedure(window, message, wParam, lParam);
    }
}

uint8_t PatternIndex(int x, int y) {
    if (x < 8 && y < 8) return ((x + y) % 2 == 0) ? 1 : 4;
    return static_cast<uint8_t>(1 + (x >= 320 ? 1 : 0) + (y >= 240 ? 2 : 0));
}

}  // namespace

int main() {
    WindowHandle window = WindowCreate("orb", "Direct X Game ", Procedure);
    if (window == nullptr || !InitDirectDraw(window, 640, 480, 640, 640)) return 1;
    const PALETTEENTRY colours[5] = {{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {255, 255, 255, 0}};
    for (int i = 0; i < 5; ++i) PaletteEntries[i] = colours[i];
    PaletteSetEntries(Display.paletteObject, 0, 5, PaletteEntries);
    uint8_t* pixels = nullptr;
    int32_t pitch = 0, w = 0, h = 0;
    if (SurfaceLock(Display.backBuffer, &pixels, &pitch, &w, &h) != 0) return 1;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) pixels[y * pitch + x] = PatternIndex(x, y);
    }
    SurfaceUnlock(Display.backBuffer);
    Flip();
    std::printf("ready\n");
    std::fflush(stdout);
    MSG message;
    while (MessageGet(&message)) MessageDispatch(&message);
    return 0;
}
