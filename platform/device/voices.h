#pragma once
// The mixer's voices: one per sound buffer, holding the clip in the mix format and the
// play-position rules that every backend shares.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio.h"

// Everything is mixed as interleaved 16-bit stereo at 44100 Hz.
enum : int32_t { MIX_RATE = 44100, MIX_CHANNELS = 2 };

struct Voice {
    std::vector<int16_t> samples;  // interleaved, MIX_CHANNELS per frame
    size_t position = 0;           // in frames
    bool playing = false;
    bool looping = false;
};

// Starts from the current position, or lets a playing voice go on with the new flag.
void VoicePlay(Voice& voice, bool looping);
// Silences the voice where it is; the position stays.
void VoiceStop(Voice& voice);
// Takes new samples (the buffer was rewritten), keeping the position where it still fits.
void VoiceReplaceSamples(Voice& voice, std::vector<int16_t> samples);

// Writes `frames` frames: the sum of every playing voice, saturated to 16 bits, and moves
// each voice on. When not audible the output is silence, but the voices still move on.
void MixVoices(Voice* const* voices, size_t count, int16_t* out, size_t frames, bool audible);

// Converts a clip into the mix format (resampling with SDL's own converter, which needs
// no device). Whole frames only; a trailing partial frame is dropped. False when the
// converter refuses the format.
bool ConvertToMixFormat(const WAVEFORMATEX& format, const uint8_t* bytes, size_t size, std::vector<int16_t>* out);
