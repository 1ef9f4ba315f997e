#include "app/window_proc.h"

#include "gfx/display.h"
#include "gfx/draw.h"
#include "gfx/sheet.h"
#include "sim/sim.h"
#include "sound/sound.h"

namespace {

// The held-key bit of an arrow key, 0 for any other key.
int32_t ArrowBit(uintptr_t key) {
    switch (key) {
        case VK_LEFT: return CONTROL_LEFT;
        case VK_RIGHT: return CONTROL_RIGHT;
        case VK_UP: return CONTROL_UP;
        case VK_DOWN: return CONTROL_DOWN;
        default: return 0;
    }
}

}  // namespace

void ReleaseAll(WindowHandle window) {
    for (int32_t slot = 0; slot < SOUND_CLIPS; ++slot) PlaySoundObject(slot, PLAY_STOP);
    ReleaseDirectSound();
    // Both pages of the pair end black.
    ClearScreen();
    Flip();
    ClearScreen();
    Flip();
    ReleaseDirectDraw();
    WindowDestroy(window);
}

intptr_t WindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case WM_DESTROY:
            MessagePostQuit(0);
            return 1;
        case WM_CLOSE:
            ReleaseAll(window);
            return 1;
        case WM_ACTIVATEAPP:
            // Before the first frame has ended there is nothing to bring back.
            if (wParam == 0 || frameCounter == 0) break;
            RestoreDirectDraw();
            InitPalette("BITMAP");
            InitBitmap("BITMAP", 640, 640);
            ResetPlayer();
            return 1;
        case WM_SETCURSOR:
            CursorHide();
            return 1;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) MessagePost(window, WM_CLOSE, 0, 0);
            ControlFlags |= ArrowBit(wParam);
            return 1;
        case WM_KEYUP:
            ControlFlags &= ~ArrowBit(wParam);
            return 1;
        default:
            break;
    }
    return WindowDefaultProcedure(window, message, wParam, lParam);
}
