// Any bytes as a clip resource, through the same loader the game calls at start-up, then
// played for a moment so the converted samples are read as well.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "sound/sound.h"

namespace {

intptr_t Procedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return WindowDefaultProcedure(window, message, wParam, lParam);
}

bool SetUpSound() {
    HeadlessReset();
    HeadlessSetCallLogging(false);
    WindowHandle window = WindowCreate("orb", "Direct X Game ", Procedure);
    return window != nullptr && InitDirectSound(window) == 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = SetUpSound();
    if (!ready) __builtin_trap();
    // The resource holds exactly these bytes, so a read past them is caught.
    HeadlessSetResource("FUZZ", "WAVE", std::vector<uint8_t>(data, data + size));
    if (InitSoundObject(1, "FUZZ")) {
        PlaySoundObject(1, PLAY_ONCE);
        HeadlessAudioAdvance(256);
        PlaySoundObject(1, PLAY_STOP);
    }
    if (SoundBank[1] != nullptr) AudioBufferRelease(SoundBank[1]);
    SoundBank[1] = nullptr;
    HeadlessClearDebugLines();
    return 0;
}
