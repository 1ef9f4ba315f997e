#include "platform/device/voices.h"

#include <algorithm>
#include <utility>

namespace {

size_t FrameCount(const Voice& voice) { return voice.samples.size() / MIX_CHANNELS; }

// Adds up to `frames` frames of the voice into acc (when audible) and moves it on.
void Advance(Voice& voice, int32_t* acc, size_t frames, bool audible) {
    const size_t total = FrameCount(voice);
    size_t done = 0;
    while (done < frames && voice.playing) {
        if (total == 0) {
            voice.playing = false;
            break;
        }
        const size_t take = std::min(frames - done, total - voice.position);
        if (audible) {
            const int16_t* from = voice.samples.data() + voice.position * MIX_CHANNELS;
            int32_t* to = acc + done * MIX_CHANNELS;
            for (size_t i = 0; i < take * MIX_CHANNELS; ++i) to[i] += from[i];
        }
        done += take;
        voice.position += take;
        if (voice.position == total) {
            // A clip that ends on its own goes back to its start, playing on only when looping.
            voice.position = 0;
            voice.playing = voice.looping;
        }
    }
}

}  // namespace

void VoicePlay(Voice& voice, bool looping) {
    voice.looping = looping;
    voice.playing = true;
}

void VoiceStop(Voice& voice) { voice.playing = false; }

void VoiceReplaceSamples(Voice& voice, std::vector<int16_t> samples) {
    voice.samples = std::move(samples);
    if (voice.position >= FrameCount(voice)) voice.position = 0;
}

void MixVoices(Voice* const* voices, size_t count, int16_t* out, size_t frames, bool audible) {
    constexpr size_t kChunk = 256;
    int32_t acc[kChunk * MIX_CHANNELS];
    while (frames > 0) {
        const size_t n = std::min(frames, kChunk);
        std::fill(acc, acc + n * MIX_CHANNELS, 0);
        for (size_t v = 0; v < count; ++v) Advance(*voices[v], acc, n, audible);
        for (size_t i = 0; i < n * MIX_CHANNELS; ++i) {
            out[i] = static_cast<int16_t>(std::clamp(acc[i], int32_t{-32768}, int32_t{32767}));
        }
        out += n * MIX_CHANNELS;
        frames -= n;
    }
}
