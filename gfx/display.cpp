#include "gfx/display.h"

#include "gfx/draw.h"
#include "platform/debug.h"

DisplayHandles Display{};
PALETTEENTRY PaletteEntries[256]{};

int InitDirectDraw(WindowHandle window, int32_t width, int32_t height, int32_t sheetWidth, int32_t sheetHeight) {
    auto fail = [window](int32_t step, uint32_t code) {
        DebugPrintf("DirectDraw Init Failed at %d error_code=%x\n", step, code);
        ReleaseDirectDraw();
        WindowDestroy(window);
        return 0;
    };
    if (uint32_t code = DisplayCreate(&Display.device)) return fail(22, code);
    if (uint32_t code = DisplaySetExclusive(Display.device, window)) return fail(26, code);
    if (uint32_t code = DisplaySetMode(Display.device, width, height, 8)) return fail(30, code);
    if (uint32_t code = DisplayCreatePrimary(Display.device, &Display.primarySurface)) return fail(42, code);
    if (uint32_t code = SurfaceGetBackBuffer(Display.primarySurface, &Display.backBuffer)) return fail(49, code);
    if (uint32_t code = DisplayCreatePalette(Display.device, PaletteEntries, &Display.paletteObject)) {
        return fail(55, code);
    }
    if (uint32_t code = SurfaceSetPalette(Display.primarySurface, Display.paletteObject)) return fail(59, code);
    if (uint32_t code = DisplayCreateOffscreen(Display.device, sheetWidth, sheetHeight, &Display.SheetSurface)) {
        return fail(69, code);
    }
    return 1;
}

void ReleaseDirectDraw() {
    if (Display.SheetSurface != nullptr) SurfaceRelease(Display.SheetSurface);
    if (Display.paletteObject != nullptr) PaletteRelease(Display.paletteObject);
    // The back buffer goes with the primary surface.
    if (Display.primarySurface != nullptr) SurfaceRelease(Display.primarySurface);
    if (Display.device != nullptr) DisplayRelease(Display.device);
    Display = DisplayHandles{};
}

void RestoreDirectDraw() {
    if (SurfaceIsLost(Display.SheetSurface) != DD_OK) SurfaceRestore(Display.SheetSurface);
    if (SurfaceIsLost(Display.primarySurface) != DD_OK) SurfaceRestore(Display.primarySurface);
    ClearScreen();
    Flip();
}
