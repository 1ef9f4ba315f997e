// The real audio backend: the probe plays one clip into SDL's disk driver, which writes the
// mixed output to a file; the file must hold that clip, resampled, once.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/e2e/xserver.h"
#include "tests/sound/probe_clip.h"

namespace {

std::vector<int16_t> ReadSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        const auto low = static_cast<uint8_t>(bytes[2 * i]), high = static_cast<uint8_t>(bytes[2 * i + 1]);
        samples[i] = static_cast<int16_t>(low | high << 8);
    }
    return samples;
}

// Normalised correlation of channel `channel` of the stereo output from frame `at` on with
// the clip's tone as it should sound at 44100 Hz.
double CorrelationWithTone(const std::vector<int16_t>& stereo, size_t at, int channel, size_t frames) {
    double dot = 0, heard = 0, tone = 0;
    for (size_t i = 0; i < frames && 2 * (at + i) + 1 < stereo.size(); ++i) {
        const double h = stereo[2 * (at + i) + channel];
        const double t = std::sin(2 * M_PI * kProbeToneHz * static_cast<double>(i) / 44100);
        dot += h * t;
        heard += h * h;
        tone += t * t;
    }
    return heard > 0 ? dot / std::sqrt(heard * tone) : 0;
}

TEST(SdlAudio, PlaysAClipResampledIntoTheDeviceOutput) {
    XServer server = StartXServer(640, 480);
    XServerGuard serverGuard{server};
    ASSERT_GT(server.pid, 0) << "Xvfb did not start";
    const TempFile audio("skyring-disk-audio");
    ASSERT_FALSE(audio.path.empty());
    const std::string& path = audio.path;

    Child probe = Spawn({AUDIO_DISK_PROBE_PATH}, {"DISPLAY=" + server.display, "SDL_VIDEODRIVER=x11",
                                                  "SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + path,
                                                  "LSAN_OPTIONS=suppressions=" LSAN_SYSTEM_SUPPRESSIONS});
    ChildGuard probeGuard{probe};
    ASSERT_TRUE(WaitForLine(probe, "active", 10000)) << "the window never became the active one";
    ASSERT_TRUE(WaitForLine(probe, "done", 10000));
    ASSERT_EQ(WaitForExit(probe, 5000), 0);

    const std::vector<int16_t> out = ReadSamples(path);
    const size_t frames = out.size() / 2;
    ASSERT_GT(frames, size_t{44100} * 6 / 10) << "the output ran for the whole probe";
    size_t first = frames, last = 0;
    for (size_t f = 0; f < frames; ++f) {
        if (std::abs(out[2 * f]) > 2000) {
            first = std::min(first, f);
            last = f;
        }
    }
    ASSERT_LT(first, frames) << "nothing was heard";
    EXPECT_GT(first, size_t{44100} / 10) << "silence before the play request";
    const double clipFrames = kProbeClipMs * 44.1;
    EXPECT_NEAR(static_cast<double>(last - first), clipFrames, clipFrames / 50) << "played once, at the right speed";

    // The tone starts at its zero crossing just before the first loud frame; find it.
    double best = 0;
    size_t start = first;
    for (size_t at = first > 100 ? first - 100 : 0; at <= first; ++at) {
        const double c = CorrelationWithTone(out, at, 0, static_cast<size_t>(clipFrames));
        if (c > best) {
            best = c;
            start = at;
        }
    }
    EXPECT_GT(best, 0.95);
    EXPECT_GT(CorrelationWithTone(out, start, 1, static_cast<size_t>(clipFrames)), 0.95) << "right channel";
}

}  // namespace
