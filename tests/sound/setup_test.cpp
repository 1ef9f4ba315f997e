// Sound set-up, clip loading and release: failure lines, unwinding and the calls made.
#include <gtest/gtest.h>

#include "tests/sound/sound_fixture.h"

namespace {

struct DeviceStep {
    int step;
    const char* operation;
    std::vector<std::string> releases;
};

void PrintTo(const DeviceStep& c, std::ostream* os) { *os << "step " << c.step; }

class InitDirectSoundFailure : public HeadlessSoundTest, public ::testing::WithParamInterface<DeviceStep> {};

TEST_P(InitDirectSoundFailure, WritesOneLineAndReleasesWhatItMade) {
    const DeviceStep& c = GetParam();
    HeadlessFailCall(c.operation, 1, 0x887800AB);
    HeadlessClearCallLog();

    EXPECT_EQ(InitDirectSound(window), 0);

    const std::string line = "DirectSound Init Failed at " + std::to_string(c.step) + " error_code=887800ab\n";
    EXPECT_EQ(HeadlessDebugLines(), std::vector<std::string>{line});
    EXPECT_EQ(CallsWith("Release"), c.releases);
    EXPECT_EQ(SoundDevice, nullptr);
    EXPECT_EQ(PrimarySoundBuffer, nullptr);
    EXPECT_NE(HeadlessWindow(), nullptr) << "the window is the caller's";
    // The device can be set up afresh afterwards.
    EXPECT_EQ(InitDirectSound(window), 1);
}

INSTANTIATE_TEST_SUITE_P(EachStep, InitDirectSoundFailure,
                         ::testing::Values(DeviceStep{22, "AudioCreate", {}},
                                           DeviceStep{26, "AudioSetCooperativeLevel", {"AudioRelease"}},
                                           DeviceStep{35, "AudioCreatePrimaryBuffer", {"AudioRelease"}}),
                         [](const ::testing::TestParamInfo<DeviceStep>& info) {
                             return "Step" + std::to_string(info.param.step);
                         });

TEST_F(HeadlessSoundTest, InitDirectSoundMakesTheDeviceThePrimaryBufferAndEmptySlots) {
    HeadlessClearCallLog();
    ASSERT_EQ(InitDirectSound(window), 1);
    EXPECT_EQ(HeadlessCallLog(),
              (std::vector<std::string>{"AudioCreate", "AudioSetCooperativeLevel", "AudioCreatePrimaryBuffer"}));
    EXPECT_NE(SoundDevice, nullptr);
    EXPECT_NE(PrimarySoundBuffer, nullptr);
    for (AudioBuffer slot : SoundBank) EXPECT_EQ(slot, nullptr);
    EXPECT_TRUE(HeadlessDebugLines().empty());
}

struct ClipStep {
    int step;
    const char* operation;
};

class InitSoundObjectFailure : public HeadlessSoundTest, public ::testing::WithParamInterface<ClipStep> {};

TEST_P(InitSoundObjectFailure, WritesTheStepAndLeavesTheReleaseToTheCaller) {
    ASSERT_EQ(InitDirectSound(window), 1);
    HeadlessSetResource("ORB_GET", "WAVE", EventWave(100));
    HeadlessFailCall(GetParam().operation, 1, 0x88780099);
    HeadlessClearCallLog();

    EXPECT_EQ(InitSoundObject(1, "ORB_GET"), 0);

    EXPECT_EQ(HeadlessDebugLines(),
              std::vector<std::string>{"SoundObject Init Failed at " + std::to_string(GetParam().step) + "\n"});
    EXPECT_TRUE(CallsWith("Release").empty());
    EXPECT_TRUE(CallsWith("AudioBufferUnlock").empty()) << "nothing was copied";
    EXPECT_NE(SoundDevice, nullptr);
}

INSTANTIATE_TEST_SUITE_P(EachStep, InitSoundObjectFailure,
                         ::testing::Values(ClipStep{85, "ResourceFind"}, ClipStep{91, "ResourceLoad"},
                                           ClipStep{102, "AudioCreateBuffer"}, ClipStep{102, "AudioBufferLock"}),
                         [](const ::testing::TestParamInfo<ClipStep>& info) {
                             return std::string(info.param.operation);
                         });

TEST_F(HeadlessSoundTest, ARefusedLockLeavesTheSilentBufferInItsSlotForRelease) {
    ASSERT_EQ(InitDirectSound(window), 1);
    HeadlessSetResource("ORB_GET", "WAVE", EventWave(2000));
    HeadlessFailCall("AudioBufferLock", 1, 0x88780099);
    EXPECT_EQ(InitSoundObject(1, "ORB_GET"), 0);
    ASSERT_NE(SoundBank[1], nullptr);
    PlaySoundObject(1, PLAY_ONCE);
    const std::vector<int16_t> heard = HeadlessAudioAdvance(1000);
    EXPECT_EQ(heard, std::vector<int16_t>(2000, 0));
    HeadlessClearCallLog();
    ReleaseDirectSound();
    EXPECT_EQ(CallsWith("Release"), (std::vector<std::string>{"AudioBufferRelease", "AudioBufferRelease primary",
                                                               "AudioRelease"}));
}

TEST_F(HeadlessSoundTest, AMissingClipAtSlotThreeStopsTheLoadingAndTheCallerReleasesSlotsZeroToTwo) {
    for (const char* name : kClipNames) HeadlessSetResource(name, "WAVE", EventWave(64));
    HeadlessHideResource("ORB_OPEN", "WAVE");
    ASSERT_EQ(InitDirectSound(window), 1);
    HeadlessClearCallLog();

    // The start-up's loop: the first failure ends the loading.
    int32_t slot = 0;
    while (slot < SOUND_CLIPS && InitSoundObject(slot, kClipNames[slot]) == 1) ++slot;

    EXPECT_EQ(slot, 3);
    EXPECT_EQ(HeadlessDebugLines(), std::vector<std::string>{"SoundObject Init Failed at 85\n"});
    EXPECT_EQ(CallsWith("ResourceFind"), (std::vector<std::string>{"ResourceFind ORB_BGM", "ResourceFind ORB_GET",
                                                                    "ResourceFind ORB_PUSH", "ResourceFind ORB_OPEN"}));
    for (int i = 0; i < 3; ++i) EXPECT_NE(SoundBank[i], nullptr) << i;
    for (int i = 3; i < 8; ++i) EXPECT_EQ(SoundBank[i], nullptr) << i;

    HeadlessClearCallLog();
    ReleaseDirectSound();
    EXPECT_EQ(HeadlessCallLog(), (std::vector<std::string>{"AudioBufferRelease", "AudioBufferRelease",
                                                            "AudioBufferRelease", "AudioBufferRelease primary",
                                                            "AudioRelease"}));
    for (AudioBuffer s : SoundBank) EXPECT_EQ(s, nullptr);
}

TEST_F(HeadlessSoundTest, AFullStartUpFillsSlotsZeroToSixAndReleaseSkipsSlotSevenOnce) {
    for (const char* name : kClipNames) HeadlessSetResource(name, "WAVE", EventWave(64));
    ASSERT_EQ(InitDirectSound(window), 1);
    for (int32_t slot = 0; slot < SOUND_CLIPS; ++slot) ASSERT_EQ(InitSoundObject(slot, kClipNames[slot]), 1) << slot;
    for (int i = 0; i < 7; ++i) EXPECT_NE(SoundBank[i], nullptr) << i;
    EXPECT_EQ(SoundBank[7], nullptr);

    HeadlessClearCallLog();
    ReleaseDirectSound();
    std::vector<std::string> expected(7, "AudioBufferRelease");
    expected.insert(expected.end(), {"AudioBufferRelease primary", "AudioRelease"});
    EXPECT_EQ(HeadlessCallLog(), expected);
    EXPECT_EQ(SoundDevice, nullptr);
    EXPECT_EQ(PrimarySoundBuffer, nullptr);

    HeadlessClearCallLog();
    ReleaseDirectSound();
    EXPECT_TRUE(HeadlessCallLog().empty()) << "a second release makes no call";
}

TEST_F(HeadlessSoundTest, LoadingCallsTheDeviceInOrderAndCopiesTheWholeClip) {
    ASSERT_EQ(InitDirectSound(window), 1);
    HeadlessSetResource("ORB_END", "WAVE", EventWave(18945));
    HeadlessClearCallLog();
    ASSERT_EQ(InitSoundObject(4, "ORB_END"), 1);
    EXPECT_EQ(HeadlessCallLog(), (std::vector<std::string>{"ResourceFind ORB_END", "ResourceLoad ORB_END",
                                                            "AudioCreateBuffer", "AudioBufferLock",
                                                            "AudioBufferUnlock"}));
    EXPECT_TRUE(HeadlessDebugLines().empty());
}

TEST_F(HeadlessSoundTest, ASlotOutsideTheBankIsRefusedWithoutACall) {
    ASSERT_EQ(InitDirectSound(window), 1);
    HeadlessSetResource("ORB_GET", "WAVE", EventWave(64));
    HeadlessClearCallLog();
    EXPECT_EQ(InitSoundObject(8, "ORB_GET"), 0);
    EXPECT_EQ(InitSoundObject(-1, "ORB_GET"), 0);
    EXPECT_TRUE(HeadlessCallLog().empty());
    EXPECT_EQ(HeadlessDebugLines(),
              (std::vector<std::string>{"SoundObject Init Failed at 85\n", "SoundObject Init Failed at 85\n"}));
}

}  // namespace

TEST_F(HeadlessSoundTest, TheGamesOwnClipsLoadAndEachSoundsForItsLength) {
    const double seconds[SOUND_CLIPS] = {2.006, 0.750, 0.398, 0.500, 0.851, 1.500, 0.089};
    ASSERT_EQ(InitDirectSound(window), 1);
    for (int32_t slot = 0; slot < SOUND_CLIPS; ++slot) {
        ASSERT_EQ(InitSoundObject(slot, kClipNames[slot]), 1) << kClipNames[slot];
        PlaySoundObject(slot, PLAY_ONCE);
        const std::vector<int16_t> heard = HeadlessAudioAdvanceMs(2500);
        size_t last = 0;
        for (size_t i = 0; i < heard.size(); ++i) {
            if (heard[i] != 0) last = i / 2;
        }
        EXPECT_NEAR(static_cast<double>(last) / 44100, seconds[slot], 0.01) << kClipNames[slot];
    }
}
