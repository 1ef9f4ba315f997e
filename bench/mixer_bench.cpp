// What sound costs: mixing a second of audio with every clip sounding at once, and
// converting the seven clips at load.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/device/voices.h"

namespace {

struct ClipShape {
    uint32_t rate;
    uint16_t channels, bits;
    uint32_t bytes;
};

// The game's seven clips: the music, then the six event sounds.
const ClipShape kClips[7] = {{44100, 2, 16, 353836}, {22254, 1, 8, 16692}, {22254, 1, 8, 8853},
                             {22254, 1, 8, 11128},   {22254, 1, 8, 18945}, {22254, 1, 8, 33384},
                             {22254, 1, 8, 1984}};

WAVEFORMATEX FormatOf(const ClipShape& c) {
    const auto align = static_cast<uint16_t>(c.channels * c.bits / 8);
    return WAVEFORMATEX{WAVE_FORMAT_PCM, c.channels, c.rate, c.rate * align, align, c.bits, 0};
}

std::vector<uint8_t> NoiseOf(const ClipShape& c) {
    std::vector<uint8_t> bytes(c.bytes);
    uint32_t state = 12345;
    for (uint8_t& b : bytes) {
        state = state * 1103515245 + 12345;
        b = static_cast<uint8_t>(state >> 24);
    }
    return bytes;
}

void BM_ConvertSevenClips(benchmark::State& state) {
    std::vector<std::vector<uint8_t>> data;
    for (const ClipShape& c : kClips) data.push_back(NoiseOf(c));
    std::vector<int16_t> out;
    for (auto _ : state) {
        for (int i = 0; i < 7; ++i) {
            ConvertToMixFormat(FormatOf(kClips[i]), data[i].data(), data[i].size(), &out);
            benchmark::DoNotOptimize(out.data());
        }
    }
}
BENCHMARK(BM_ConvertSevenClips)->Unit(benchmark::kMillisecond);

// One second of output in device-sized pieces with the first `voices` clips looping
// throughout; the time per iteration is the mixer's share of each second of play.
void BM_MixOneSecond(benchmark::State& state) {
    const auto voiceCount = static_cast<size_t>(state.range(0));
    std::vector<Voice> voices(voiceCount);
    std::vector<Voice*> pointers;
    for (size_t i = 0; i < voiceCount; ++i) {
        const ClipShape& c = kClips[i];
        const std::vector<uint8_t> data = NoiseOf(c);
        ConvertToMixFormat(FormatOf(c), data.data(), data.size(), &voices[i].samples);
        VoicePlay(voices[i], true);
        pointers.push_back(&voices[i]);
    }
    constexpr size_t kPiece = 1024;
    std::vector<int16_t> out(kPiece * MIX_CHANNELS);
    for (auto _ : state) {
        for (size_t done = 0; done < MIX_RATE; done += kPiece) {
            MixVoices(pointers.data(), pointers.size(), out.data(), kPiece, true);
            benchmark::DoNotOptimize(out.data());
        }
    }
}
BENCHMARK(BM_MixOneSecond)->Arg(0)->Arg(1)->Arg(7)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
