#include "tests/view/fake_draw.h"

#include "gfx/draw.h"

std::vector<DrawCall>& DrawCalls() {
    static std::vector<DrawCall> calls;
    return calls;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::vector<DrawCall> CallsOf(const RECT& picture) {
    std::vector<DrawCall> found;
    for (const DrawCall& call : DrawCalls())
        if (!call.clear && SameRect(call.source, picture)) found.push_back(call);
    return found;
}

bool Fits(const DrawCall& call) {
    return call.x >= 0 && call.y >= 0 && call.x + (call.source.right - call.source.left) <= 640 &&
           call.y + (call.source.bottom - call.source.top) <= 480;
}

void PutBitmap(int32_t x, int32_t y, const RECT* source) { DrawCalls().push_back({false, x, y, *source}); }
void ClearScreen() { DrawCalls().push_back({true, 0, 0, {}}); }
