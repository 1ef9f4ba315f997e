// Plays one clip through the real audio backend: the game's window, its sound set-up and
// one PlaySoundObject, with timing lines on standard output for the test that runs it.
// Its one resource is a 0.5 s, 440 Hz tone at 22254 Hz, mono, 8-bit, as the event clips are.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/resources.h"
#include "platform/sdl/sdl_backend.h"
#include "sound/sound.h"
#include "tests/sound/probe_clip.h"

namespace {

unsigned char clip[44 + kProbeClipBytes];

intptr_t Procedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return WindowDefaultProcedure(window, message, wParam, lParam);
}

// Pumps the window's messages for `ms` milliseconds.
void Pump(uint32_t ms) {
    const uint32_t start = TickCount();
    while (TickCount() - start < ms) {
        MSG message;
        while (MessagePeek() && MessageGet(&message)) MessageDispatch(&message);
        MessageWait(10);
    }
}

void Say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

}  // namespace

const EmbeddedResource kEmbeddedResources[] = {{"PROBE", "WAVE", clip, sizeof clip}, {nullptr, nullptr, nullptr, 0}};

int main() {
    const std::vector<uint8_t> wave = ProbeClipWave();
    std::copy(wave.begin(), wave.end(), clip);

    WindowHandle window = WindowCreate("orb", "Direct X Game ", Procedure);
    if (window == nullptr) return 1;
    // The backend is heard only while its window has the focus.
    for (int i = 0; i < 500 && !SdlWindowIsActive(); ++i) Pump(10);
    Say(SdlWindowIsActive() ? "active" : "inactive");
    if (!InitDirectSound(window) || !InitSoundObject(1, "PROBE")) {
        ReleaseDirectSound();
        return 1;
    }
    Pump(300);
    PlaySoundObject(1, PLAY_ONCE);
    Say("playing");
    Pump(kProbeClipMs + 400);
    ReleaseDirectSound();
    WindowDestroy(window);
    Say("done");
    return 0;
}
