#pragma once
// A headless program with its window and a set-up sound device, for the sound tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "sound/sound.h"
#include "tests/sound/wave_builder.h"

inline intptr_t SoundTestWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return WindowDefaultProcedure(window, message, wParam, lParam);
}

class HeadlessSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessReset();
        window = WindowCreate("orb", "Direct X Game ", SoundTestWindowProc);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        ReleaseDirectSound();
        HeadlessReset();
    }
    // Sets the device up and loads one clip into a slot.
    void Load(int32_t slot, const std::vector<uint8_t>& wave, const char* name = "CLIP") {
        if (SoundDevice == nullptr) {
            ASSERT_EQ(InitDirectSound(window), 1);
        }
        HeadlessSetResource(name, "WAVE", wave);
        ASSERT_EQ(InitSoundObject(slot, name), 1) << (HeadlessDebugLines().empty() ? "" : HeadlessDebugLines()[0]);
    }
    // Calls logged since the last clear whose operation contains `part`.
    static std::vector<std::string> CallsWith(const std::string& part) {
        std::vector<std::string> out;
        for (const std::string& call : HeadlessCallLog()) {
            if (call.find(part) != std::string::npos) out.push_back(call);
        }
        return out;
    }
    WindowHandle window = nullptr;
};

// The left channel of interleaved stereo.
inline std::vector<int16_t> Left(const std::vector<int16_t>& stereo) {
    std::vector<int16_t> out;
    for (size_t i = 0; i < stereo.size(); i += 2) out.push_back(stereo[i]);
    return out;
}
