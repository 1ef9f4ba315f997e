#include "gfx/draw.h"

#include <cstdio>

#include "gfx/display.h"
#include "platform/debug.h"

namespace {

// The line of one drawing operation's failure. Pictures partly off the screen are refused a
// hundred times a frame, always with the same code, so the line is formatted once per code.
class FailureLine {
public:
    FailureLine(const char* format, int step) : format_(format), step_(step) {}
    void Write(uint32_t code) {  // code is never DD_OK
        if (code != code_) {
            std::snprintf(text_, sizeof text_, format_, step_, code);
            code_ = code;
        }
        DebugOutput(text_);
    }

private:
    const char* format_;
    int step_;
    uint32_t code_ = DD_OK;
    char text_[96] = "";
};

}  // namespace

void PutBitmap(int32_t x, int32_t y, const RECT* source) {
    static FailureLine line("PutBitmap Failed at %d error_code=%x\n", 218);
    // Negative positions reach the device as huge unsigned ones, which it refuses like any misfit.
    const uint32_t code = SurfaceBltFast(Display.backBuffer, static_cast<uint32_t>(x), static_cast<uint32_t>(y),
                                         Display.SheetSurface, source);
    if (code != DD_OK) line.Write(code);
}

void ClearScreen() {
    static FailureLine line("ClearScreen Failed at %d error_code=%x\n", 284);
    const uint32_t code = SurfaceFill(Display.backBuffer, 0);
    if (code != DD_OK) line.Write(code);
}

void Flip() {
    static FailureLine line("Flip Failed at %d error_code=%x\n", 264);
    const uint32_t code = SurfaceFlip(Display.primarySurface);
    if (code != DD_OK) line.Write(code);
}
