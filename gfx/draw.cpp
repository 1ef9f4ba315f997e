#include "gfx/draw.h"

#include <cstdio>

#include "gfx/display.h"
#include "platform/debug.h"

namespace {

enum DrawOperation : int32_t { DRAW_PUT_BITMAP, DRAW_CLEAR_SCREEN, DRAW_FLIP, DRAW_OPERATIONS };
constexpr const char* kFailureFormats[DRAW_OPERATIONS] = {
    "PutBitmap Failed at 218 error_code=%x\n", "ClearScreen Failed at 284 error_code=%x\n",
    "Flip Failed at 264 error_code=%x\n"};

// Writes the line of a drawing operation's failure. Pictures partly off the screen are refused
// a hundred times a frame, always with the same code, so each operation's line is formatted
// again only when its code changes.
void WriteFailureLine(DrawOperation operation, uint32_t code) {  // code is never DD_OK
    static uint32_t keptCodes[DRAW_OPERATIONS] = {};  // DD_OK: no line yet
    static char keptLines[DRAW_OPERATIONS][96];
    if (code != keptCodes[operation]) {
        std::snprintf(keptLines[operation], sizeof keptLines[operation], kFailureFormats[operation], code);
        keptCodes[operation] = code;
    }
    DebugOutput(keptLines[operation]);
}

}  // namespace

void PutBitmap(int32_t x, int32_t y, const RECT* source) {
    // Negative positions reach the device as huge unsigned ones, which it refuses like any misfit.
    const uint32_t code = SurfaceBltFast(Display.backBuffer, static_cast<uint32_t>(x), static_cast<uint32_t>(y),
                                         Display.SheetSurface, source);
    if (code != DD_OK) WriteFailureLine(DRAW_PUT_BITMAP, code);
}

void ClearScreen() {
    const uint32_t code = SurfaceFill(Display.backBuffer, 0);
    if (code != DD_OK) WriteFailureLine(DRAW_CLEAR_SCREEN, code);
}

void Flip() {
    const uint32_t code = SurfaceFlip(Display.primarySurface);
    if (code != DD_OK) WriteFailureLine(DRAW_FLIP, code);
}
