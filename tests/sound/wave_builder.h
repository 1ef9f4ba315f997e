#pragma once
// Small WAVE files for the sound tests, laid out with the canonical 44-byte header.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

struct WaveSpec {
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t rate = 22254;
    uint16_t bits = 8;
    int32_t blockAlign = -1;  // -1: channels * bits / 8
    uint32_t fmtLength = 16;
    int64_t riffLength = -1;  // -1: the file's real size - 8
    int64_t dataLength = -1;  // -1: the number of sample bytes given
};

inline void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    v[at] = static_cast<uint8_t>(x);
    v[at + 1] = static_cast<uint8_t>(x >> 8);
}
inline void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    Put16(v, at, x & 0xFFFF);
    Put16(v, at + 2, x >> 16);
}

inline std::vector<uint8_t> MakeWave(const WaveSpec& s, const std::vector<uint8_t>& sampleBytes) {
    std::vector<uint8_t> v(44 + sampleBytes.size());
    const uint32_t blockAlign = s.blockAlign >= 0 ? static_cast<uint32_t>(s.blockAlign) : s.channels * s.bits / 8u;
    std::memcpy(&v[0], "RIFF", 4);
    Put32(v, 4, static_cast<uint32_t>(s.riffLength >= 0 ? s.riffLength : static_cast<int64_t>(v.size()) - 8));
    std::memcpy(&v[8], "WAVEfmt ", 8);
    Put32(v, 16, s.fmtLength);
    Put16(v, 20, s.formatTag);
    Put16(v, 22, s.channels);
    Put32(v, 24, s.rate);
    Put32(v, 28, s.rate * blockAlign);
    Put16(v, 32, blockAlign);
    Put16(v, 34, s.bits);
    std::memcpy(&v[36], "data", 4);
    Put32(v, 40, static_cast<uint32_t>(s.dataLength >= 0 ? s.dataLength : static_cast<int64_t>(sampleBytes.size())));
    std::memcpy(v.data() + 44, sampleBytes.data(), sampleBytes.size());
    return v;
}

// 16-bit stereo at 44100 Hz needs no resampling, so the mixer plays these samples exactly.
inline std::vector<uint8_t> Stereo16(const std::vector<int16_t>& interleaved) {
    std::vector<uint8_t> bytes(interleaved.size() * 2);
    for (size_t i = 0; i < interleaved.size(); ++i) {
        bytes[2 * i] = static_cast<uint8_t>(interleaved[i]);
        bytes[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(interleaved[i]) >> 8);
    }
    return bytes;
}

inline std::vector<uint8_t> MusicWave(const std::vector<int16_t>& interleaved) {
    WaveSpec s;
    s.channels = 2;
    s.rate = 44100;
    s.bits = 16;
    return MakeWave(s, Stereo16(interleaved));
}

// A clip whose every frame tells where it lies: both channels hold 1 + frame index, so
// what the mixer outputs shows the clip's play position at every moment.
inline std::vector<uint8_t> RampWave(int frames) {
    std::vector<int16_t> samples;
    for (int i = 0; i < frames; ++i) {
        samples.insert(samples.end(), {static_cast<int16_t>(1 + i), static_cast<int16_t>(1 + i)});
    }
    return MusicWave(samples);
}

// An event clip as the game's are made: 22254 Hz, mono, 8-bit unsigned, a sine tone.
inline std::vector<uint8_t> ToneBytes8(size_t count, double hz, uint32_t rate, double amplitude = 100) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(std::lround(128 + amplitude * std::sin(2 * M_PI * hz * i / rate)));
    }
    return bytes;
}

inline std::vector<uint8_t> EventWave(size_t sampleBytes, double hz = 1000) {
    return MakeWave(WaveSpec{}, ToneBytes8(sampleBytes, hz, 22254));
}
