// What a player hears: play, loop and stop, heard through the headless mixer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/device/voices.h"
#include "tests/sound/sound_fixture.h"

namespace {

constexpr int kRampFrames = 4410;  // 0.1 s

class PlayTest : public HeadlessSoundTest {
protected:
    void SetUp() override {
        HeadlessSoundTest::SetUp();
        Load(1, RampWave(kRampFrames));
    }
    // The clip positions heard over the next `frames` frames (0 where nothing sounds).
    static std::vector<int16_t> Listen(size_t frames) { return Left(HeadlessAudioAdvance(frames)); }
};

// Expected left channel of the ramp clip heard from `position` on for `count` frames.
std::vector<int16_t> RampFrom(int position, int count, bool looping) {
    std::vector<int16_t> out;
    for (int i = 0; i < count; ++i) {
        const int at = position + i;
        if (looping) {
            out.push_back(static_cast<int16_t>(1 + at % kRampFrames));
        } else {
            out.push_back(static_cast<int16_t>(at < kRampFrames ? 1 + at : 0));
        }
    }
    return out;
}

TEST_F(PlayTest, ModeOnePlaysASilentClipOnceFromItsStart) {
    EXPECT_EQ(Listen(100), std::vector<int16_t>(100, 0)) << "nothing sounds before a play request";
    PlaySoundObject(1, PLAY_ONCE);
    EXPECT_EQ(Listen(kRampFrames + 500), RampFrom(0, kRampFrames + 500, false));
    EXPECT_EQ(Listen(kRampFrames), std::vector<int16_t>(kRampFrames, 0)) << "it played once only";

    // Having ended on its own, it starts from the beginning again.
    PlaySoundObject(1, PLAY_ONCE);
    EXPECT_EQ(Listen(200), RampFrom(0, 200, false));
}

TEST_F(PlayTest, ModeOneOnASoundingClipLetsItGoOnToItsEnd) {
    PlaySoundObject(1, PLAY_ONCE);
    Listen(1000);
    PlaySoundObject(1, PLAY_ONCE);
    EXPECT_EQ(Listen(kRampFrames), RampFrom(1000, kRampFrames, false));
}

TEST_F(PlayTest, ModeZeroSilencesAtOnceAndALaterPlayResumesWhereItStopped) {
    PlaySoundObject(1, PLAY_ONCE);
    Listen(1000);
    PlaySoundObject(1, PLAY_STOP);
    EXPECT_EQ(Listen(2000), std::vector<int16_t>(2000, 0));
    PlaySoundObject(1, PLAY_ONCE);
    EXPECT_EQ(Listen(500), RampFrom(1000, 500, false));
    PlaySoundObject(1, PLAY_STOP);
    PlaySoundObject(1, PLAY_LOOP);
    EXPECT_EQ(Listen(kRampFrames), RampFrom(1500, kRampFrames, true));
}

TEST_F(PlayTest, ModeMinusOneLoopsWithoutABreakAndASecondOneLeavesItRunning) {
    PlaySoundObject(1, PLAY_LOOP);
    EXPECT_EQ(Listen(kRampFrames * 5 / 2), RampFrom(0, kRampFrames * 5 / 2, true));
    // A new jump asks for the music again: it must not restart.
    PlaySoundObject(1, PLAY_LOOP);
    EXPECT_EQ(Listen(kRampFrames), RampFrom(kRampFrames / 2, kRampFrames, true));
}

TEST_F(PlayTest, APlayRequestOnALoopingClipOnlyTakesOverTheLoopingFlag) {
    PlaySoundObject(1, PLAY_LOOP);
    Listen(kRampFrames + 1000);
    PlaySoundObject(1, PLAY_ONCE);
    EXPECT_EQ(Listen(kRampFrames), RampFrom(1000, kRampFrames, false)) << "plays out to its end, then stops";
}

TEST_F(PlayTest, OtherModesEmptySlotsAndSlotsOutOfRangeDoNothing) {
    PlaySoundObject(1, 2);
    PlaySoundObject(1, -2);
    EXPECT_EQ(Listen(100), std::vector<int16_t>(100, 0)) << "a silent clip stays silent";

    PlaySoundObject(1, PLAY_LOOP);
    Listen(100);
    HeadlessClearCallLog();
    for (int mode : {2, -2, 7, -100}) PlaySoundObject(1, mode);
    for (int slot : {0, 6, 7, -1, 8, 1000}) PlaySoundObject(slot, PLAY_ONCE);
    EXPECT_TRUE(HeadlessCallLog().empty());
    EXPECT_EQ(Listen(100), RampFrom(100, 100, true)) << "a sounding clip sounds on";
}

TEST_F(PlayTest, WhileTheWindowIsNotActiveNothingIsHeardButClipsMoveOn) {
    PlaySoundObject(1, PLAY_ONCE);
    HeadlessSetAudioAudible(false);
    EXPECT_EQ(Listen(1000), std::vector<int16_t>(1000, 0));
    HeadlessSetAudioAudible(true);
    EXPECT_EQ(Listen(100), RampFrom(1000, 100, false));
}

TEST_F(PlayTest, ReleasedSoundFallsSilent) {
    PlaySoundObject(1, PLAY_LOOP);
    Listen(100);
    ReleaseDirectSound();
    EXPECT_EQ(Listen(100), std::vector<int16_t>(100, 0));
}

// The game never shrinks a clip, but a device that did would read past the new one.
TEST(Voice, ShorterSamplesThanThePositionPlayOnFromTheirFirstFrame) {
    Voice voice;
    voice.samples.assign(100 * MIX_CHANNELS, 1);
    VoicePlay(voice, true);
    Voice* const voices[] = {&voice};
    std::vector<int16_t> out(60 * MIX_CHANNELS);
    MixVoices(voices, 1, out.data(), 60, true);
    VoiceReplaceSamples(voice, {5, 5, 6, 6, 7, 7, 8, 8});  // four frames
    MixVoices(voices, 1, out.data(), 3, true);
    EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + 6), (std::vector<int16_t>{5, 5, 6, 6, 7, 7}));
}

TEST_F(HeadlessSoundTest, ClipsPlayingTogetherAreAddedAndSaturate) {
    auto constant = [](int16_t left, int16_t right) {
        std::vector<int16_t> samples;
        for (int i = 0; i < 1000; ++i) samples.insert(samples.end(), {left, right});
        return MusicWave(samples);
    };
    Load(0, constant(20000, -20000), "A");
    Load(1, constant(20000, -20000), "B");
    Load(2, constant(1000, 2000), "C");
    Load(3, constant(-500, 7), "D");
    PlaySoundObject(2, PLAY_ONCE);
    PlaySoundObject(3, PLAY_ONCE);
    std::vector<int16_t> heard = HeadlessAudioAdvance(10);
    EXPECT_EQ(heard[0], 500);
    EXPECT_EQ(heard[1], 2007);
    PlaySoundObject(0, PLAY_ONCE);
    PlaySoundObject(1, PLAY_ONCE);
    heard = HeadlessAudioAdvance(10);
    EXPECT_EQ(heard[0], 32767);
    EXPECT_EQ(heard[1], -32768);
}

// Per 5 ms window of the left channel: does anything sound?
std::vector<bool> SoundingWindows(const std::vector<int16_t>& stereo) {
    const std::vector<int16_t> left = Left(stereo);
    const size_t window = 44100 / 200;
    std::vector<bool> out;
    for (size_t start = 0; start + window <= left.size(); start += window) {
        int peak = 0;
        for (size_t i = start; i < start + window; ++i) peak = std::max(peak, std::abs(int{left[i]}));
        out.push_back(peak > 1000);
    }
    return out;
}

// Whether windows [from, to) (in 5 ms units) all sound (true) or are all silent (false).
::testing::AssertionResult All(const std::vector<bool>& windows, size_t from, size_t to, bool sounding) {
    for (size_t i = from; i < to; ++i) {
        if (windows.at(i) != sounding) {
            return ::testing::AssertionFailure() << (sounding ? "silence" : "sound") << " at " << i * 5 << " ms";
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(HeadlessSoundTest, TwoBalloonsHalfASecondApartGiveOneUnbrokenSoundAndAThirdPlaysItAgain) {
    Load(1, EventWave(16692));  // 0.75 s at 22254 Hz
    PlaySoundObject(1, PLAY_ONCE);
    std::vector<int16_t> heard = HeadlessAudioAdvanceMs(500);
    PlaySoundObject(1, PLAY_ONCE);  // ten frames of 50 ms later
    const std::vector<int16_t> rest = HeadlessAudioAdvanceMs(500);
    heard.insert(heard.end(), rest.begin(), rest.end());
    const std::vector<bool> first = SoundingWindows(heard);
    ASSERT_EQ(first.size(), 200u);
    EXPECT_TRUE(All(first, 0, 148, true));
    EXPECT_TRUE(All(first, 152, 200, false));

    PlaySoundObject(1, PLAY_ONCE);
    const std::vector<bool> third = SoundingWindows(HeadlessAudioAdvanceMs(1000));
    EXPECT_TRUE(All(third, 0, 148, true));
    EXPECT_TRUE(All(third, 152, 200, false));
}

TEST_F(HeadlessSoundTest, EventClipsAreResampledToTheOutputKeepingLengthAndPitch) {
    // 0.5 s of a 1000 Hz tone at 22254 Hz, mono, 8-bit.
    Load(3, EventWave(11127, 1000));
    PlaySoundObject(3, PLAY_ONCE);
    const std::vector<int16_t> heard = HeadlessAudioAdvanceMs(600);
    size_t last = 0, crossings = 0;
    for (size_t f = 0; f + 1 < heard.size() / 2; ++f) {
        ASSERT_EQ(heard[2 * f], heard[2 * f + 1]) << "mono plays on both sides alike";
        if (heard[2 * f] != 0) last = f;
        if ((heard[2 * f] < 0) != (heard[2 * f + 2] < 0) && f < 22000) ++crossings;
    }
    EXPECT_NEAR(static_cast<double>(last), 0.5 * 44100, 0.01 * 44100);
    EXPECT_NEAR(static_cast<double>(crossings), 2 * 1000 * 22000 / 44100.0, 10);
}

}  // namespace
