#pragma once
// The headless sound output, for tests: nothing plays until a test moves it on, and then
// it returns what a player would have heard.
#include <cstddef>
#include <cstdint>
#include <vector>

// Mixes the next `frames` frames (44100 per second) and returns them as interleaved 16-bit
// stereo. Without an open device the result is silence and nothing moves on.
std::vector<int16_t> HeadlessAudioAdvance(size_t frames);
// The same for a span of milliseconds.
std::vector<int16_t> HeadlessAudioAdvanceMs(uint32_t milliseconds);
// As when the window loses or gains the focus: silent output, clips still moving on.
void HeadlessSetAudioAudible(bool audible);
// Back to a fresh program: no device, no buffers, audible.
void HeadlessAudioReset();
