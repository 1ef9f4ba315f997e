// The headless sound output: mixed into memory when a test asks for it.
#include "platform/device/hooks.h"
#include "platform/device/voices.h"
#include "platform/headless/headless_audio.h"

namespace {

bool outputOpen = false;
bool audible = true;

}  // namespace

uint32_t BackendAudioOpen() {
    outputOpen = true;
    return 0;
}

void BackendAudioClose() { outputOpen = false; }

std::vector<int16_t> HeadlessAudioAdvance(size_t frames) {
    std::vector<int16_t> out(frames * MIX_CHANNELS, 0);
    if (outputOpen) DeviceAudioMix(out.data(), frames, audible);
    return out;
}

std::vector<int16_t> HeadlessAudioAdvanceMs(uint32_t milliseconds) {
    return HeadlessAudioAdvance(size_t{milliseconds} * MIX_RATE / 1000);
}

void HeadlessSetAudioAudible(bool on) { audible = on; }

void HeadlessAudioReset() {
    DeviceAudioForget();
    audible = true;
}
