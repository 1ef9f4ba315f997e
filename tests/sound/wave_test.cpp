// WAVE resources are data: quirky length fields load, broken or unplayable ones are refused
// with the step's line, and nothing is ever read beyond the resource.
#include <gtest/gtest.h>

#include "tests/sound/sound_fixture.h"

namespace {

class WaveTest : public HeadlessSoundTest {
protected:
    void SetUp() override {
        HeadlessSoundTest::SetUp();
        ASSERT_EQ(InitDirectSound(window), 1);
    }
    // Loads the bytes as slot 2 and returns InitSoundObject's result.
    static int LoadBytes(const std::vector<uint8_t>& bytes) {
        HeadlessSetResource("ORB_PUSH", "WAVE", bytes);
        return InitSoundObject(2, "ORB_PUSH");
    }
    static std::vector<std::string> FailedAt(int step) {
        return {"SoundObject Init Failed at " + std::to_string(step) + "\n"};
    }
};

TEST_F(WaveTest, LengthFieldsThatDisagreeWithTheLayoutStillLoad) {
    std::vector<int16_t> music(2 * 4410, 3000);
    WaveSpec spec;
    spec.channels = 2;
    spec.rate = 44100;
    spec.bits = 16;
    spec.fmtLength = 18;
    spec.riffLength = 1000000;
    EXPECT_EQ(LoadBytes(MakeWave(spec, Stereo16(music))), 1);

    WaveSpec event;
    event.riffLength = 0xFFFFFFFF;
    EXPECT_EQ(LoadBytes(MakeWave(event, ToneBytes8(8853, 500, 22254))), 1) << "an odd data length";
    EXPECT_TRUE(HeadlessDebugLines().empty());
}

TEST_F(WaveTest, OnlyTheStatedDataLengthIsPlayed) {
    // 100 frames of sound stated, then 1000 frames of something else that must not be heard.
    std::vector<int16_t> samples(2 * 1100, 5000);
    std::fill(samples.begin() + 200, samples.end(), -7000);
    WaveSpec spec;
    spec.channels = 2;
    spec.rate = 44100;
    spec.bits = 16;
    spec.dataLength = 400;
    ASSERT_EQ(LoadBytes(MakeWave(spec, Stereo16(samples))), 1);
    PlaySoundObject(2, PLAY_ONCE);
    const std::vector<int16_t> heard = Left(HeadlessAudioAdvance(1100));
    EXPECT_EQ(std::count(heard.begin(), heard.end(), 5000), 100);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), 0), 1000);
}

TEST_F(WaveTest, AResourceShorterThanItsHeaderSaysIsRefusedAtStepNinetyOne) {
    const std::vector<uint8_t> whole = EventWave(100);
    for (size_t size : {size_t{0}, size_t{20}, size_t{43}, size_t{44}, size_t{143}}) {
        HeadlessClearDebugLines();
        EXPECT_EQ(LoadBytes(std::vector<uint8_t>(whole.begin(), whole.begin() + size)), 0) << size;
        EXPECT_EQ(HeadlessDebugLines(), FailedAt(91)) << size;
        EXPECT_EQ(SoundBank[2], nullptr);
    }
    WaveSpec huge;
    huge.dataLength = 0xFFFFFFFF;
    HeadlessClearDebugLines();
    EXPECT_EQ(LoadBytes(MakeWave(huge, ToneBytes8(100, 500, 22254))), 0);
    EXPECT_EQ(HeadlessDebugLines(), FailedAt(91));
}

struct BadFormat {
    const char* what;
    WaveSpec spec;
};

void PrintTo(const BadFormat& c, std::ostream* os) { *os << c.what; }

class UnplayableFormat : public WaveTest, public ::testing::WithParamInterface<BadFormat> {};

TEST_P(UnplayableFormat, IsRefusedByTheDeviceAtStep102) {
    EXPECT_EQ(LoadBytes(MakeWave(GetParam().spec, std::vector<uint8_t>(400, 0x80))), 0);
    EXPECT_EQ(HeadlessDebugLines(), FailedAt(102));
    EXPECT_EQ(SoundBank[2], nullptr);
}

WaveSpec With(void (*change)(WaveSpec&)) {
    WaveSpec s;
    change(s);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, UnplayableFormat,
    ::testing::Values(BadFormat{"float", With([](WaveSpec& s) { s.formatTag = 3; })},
                      BadFormat{"extensible", With([](WaveSpec& s) { s.formatTag = 0xFFFE; })},
                      BadFormat{"no_channels", With([](WaveSpec& s) { s.channels = 0; })},
                      BadFormat{"six_channels", With([](WaveSpec& s) { s.channels = 6; })},
                      BadFormat{"no_bits", With([](WaveSpec& s) { s.bits = 0; })},
                      BadFormat{"twelve_bits", With([](WaveSpec& s) { s.bits = 12; })},
                      BadFormat{"twentyfour_bits", With([](WaveSpec& s) { s.bits = 24; })},
                      BadFormat{"rate_zero", With([](WaveSpec& s) { s.rate = 0; })},
                      BadFormat{"rate_absurd", With([](WaveSpec& s) { s.rate = 0xFFFFFFFF; })},
                      BadFormat{"block_align_wrong", With([](WaveSpec& s) { s.blockAlign = 2; })},
                      BadFormat{"block_align_zero", With([](WaveSpec& s) { s.blockAlign = 0; })},
                      BadFormat{"no_data", With([](WaveSpec& s) { s.dataLength = 0; })}),
    [](const ::testing::TestParamInfo<BadFormat>& info) { return std::string(info.param.what); });

}  // namespace

namespace {

// Found by fuzzing: a clip too short to make one output frame once resampled.
TEST_F(WaveTest, AClipShorterThanOneOutputFrameLoadsAndPlaysSilence) {
    WaveSpec spec;
    spec.rate = 44167;
    EXPECT_EQ(LoadBytes(MakeWave(spec, {200})), 1);
    PlaySoundObject(2, PLAY_ONCE);
    for (int16_t sample : HeadlessAudioAdvance(64)) EXPECT_EQ(sample, 0);
    EXPECT_TRUE(HeadlessDebugLines().empty());
}

}  // namespace
