#pragma once
// The clip that the audio probe plays and its test expects to hear.
#include <cstddef>
#include <vector>

#include "tests/sound/wave_builder.h"

constexpr size_t kProbeClipBytes = 11127;  // 0.5 s at 22254 Hz
constexpr unsigned kProbeClipMs = 500;
constexpr double kProbeToneHz = 440;

inline std::vector<uint8_t> ProbeClipWave() { return EventWave(kProbeClipBytes, kProbeToneHz); }
