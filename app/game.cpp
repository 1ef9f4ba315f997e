#include "app/game.h"

#include <cstdio>
#include <cstring>

#include "app/frame.h"
#include "app/window_proc.h"
#include "gfx/display.h"
#include "gfx/draw.h"
#include "gfx/sheet.h"
#include "platform/debug.h"
#include "sim/sim.h"
#include "sound/sound.h"

WindowHandle mainWindow = nullptr;

namespace {

constexpr uint32_t kFrameMs = 50;

uint32_t frameStartTick = 0;

// On standard error, with its line end whether or not it came with one.
void PrintLine(const char* line) {
    std::fprintf(stderr, "%s%s", line, line[std::strlen(line) - 1] == '\n' ? "" : "\n");
}

}  // namespace

int StartUp() {
    mainWindow = WindowCreate("orb", "Direct X Game ", WindowProc);
    if (mainWindow == nullptr) return 0;
    // A failed display set-up has destroyed the window itself.
    if (!InitDirectDraw(mainWindow, 640, 480, 640, 640)) {
        mainWindow = nullptr;
        return 0;
    }
    auto unwind = [](bool sound) {
        if (sound) ReleaseDirectSound();
        ReleaseDirectDraw();
        WindowDestroy(mainWindow);
        mainWindow = nullptr;
        return 0;
    };
    if (!InitPalette("BITMAP") || !InitBitmap("BITMAP", 640, 640)) return unwind(false);
    if (!InitDirectSound(mainWindow)) return unwind(false);
    for (int32_t slot = 0; slot < SOUND_CLIPS; ++slot) {
        if (!InitSoundObject(slot, kClipNames[slot])) return unwind(true);
    }
    SetUpJump();
    return 1;
}

int PumpMessages() {
    while (MessagePeek()) {
        MSG message;
        if (!MessageGet(&message)) return 0;
        MessageDispatch(&message);
    }
    return 1;
}

bool RunFrame() {
    RestartIfRequested();
    frameStartTick = TickCount();
    UpdateAndDrawFrame();

    // Messages are dispatched only here. Between pumps the wait sleeps on the event queue;
    // the deadline wraps with the tick, so a start tick near 2^32 ends the wait at once.
    if (!PumpMessages()) return false;
    const uint32_t deadline = frameStartTick + kFrameMs;
    for (uint32_t now = TickCount(); now < deadline; now = TickCount()) {
        MessageWait(deadline - now);
        if (!PumpMessages()) return false;
    }

    Flip();
    EndFrame();
    return true;
}

int RunGame(const GameHooks& hooks) {
    if (!StartUp()) {
        // A failed start must not pass for success: say why, in the game's words and the
        // platform's, once each, and end with status 1.
        const bool shown = DebugLinesShown();
        const char* line = DebugLastLine();
        if (line[0] == '\0') {
            PrintLine("Skyring could not create its window");
        } else if (!shown) {
            PrintLine(line);
        }
        if (!shown && PlatformLastReason()[0] != '\0') PrintLine(PlatformLastReason());
        return 1;
    }
    if (hooks.started != nullptr && !hooks.started()) {
        MessagePost(mainWindow, WM_CLOSE, 0, 0);
        PumpMessages();
        return 2;
    }
    for (int64_t frame = 0;; ++frame) {
        if (hooks.beforeFrame != nullptr) hooks.beforeFrame(frame);
        if (!RunFrame()) return 0;
        if (hooks.afterFrame != nullptr) hooks.afterFrame(frame);
    }
}
