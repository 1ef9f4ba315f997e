#include "gfx/draw.h"

#include "gfx/display.h"
#include "platform/debug.h"

void PutBitmap(int32_t x, int32_t y, const RECT* source) {
    // Negative positions reach the device as huge unsigned ones, which it refuses like any misfit.
    const uint32_t code = SurfaceBltFast(Display.backBuffer, static_cast<uint32_t>(x), static_cast<uint32_t>(y),
                                         Display.SheetSurface, source);
    if (code != DD_OK) DebugPrintf("PutBitmap Failed at %d error_code=%x\n", 218, code);
}

void ClearScreen() {
    const uint32_t code = SurfaceFill(Display.backBuffer, 0);
    if (code != DD_OK) DebugPrintf("ClearScreen Failed at %d error_code=%x\n", 284, code);
}

void Flip() {
    const uint32_t code = SurfaceFlip(Display.primarySurface);
    if (code != DD_OK) DebugPrintf("Flip Failed at %d error_code=%x\n", 264, code);
}
