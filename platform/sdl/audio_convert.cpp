// Clip conversion with SDL's audio stream; it needs neither SDL_Init nor a device, so the
// headless backend uses it too and hears exactly what the real one plays.
#include <SDL.h>

#include "platform/voices.h"

bool ConvertToMixFormat(const WAVEFORMATEX& format, const uint8_t* bytes, size_t size, std::vector<int16_t>* out) {
    out->clear();
    if (format.wFormatTag != WAVE_FORMAT_PCM || (format.nChannels != 1 && format.nChannels != 2) ||
        (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) || format.nSamplesPerSec == 0) {
        return false;
    }
    const size_t frameBytes = size_t{format.nChannels} * (format.wBitsPerSample / 8u);
    const size_t wholeBytes = size / frameBytes * frameBytes;
    if (wholeBytes == 0) return true;
    if (wholeBytes > 0x7fffffff) return false;
    const SDL_AudioFormat from = format.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioStream* stream = SDL_NewAudioStream(from, static_cast<Uint8>(format.nChannels),
                                                 static_cast<int>(format.nSamplesPerSec), AUDIO_S16SYS,
                                                 MIX_CHANNELS, MIX_RATE);
    if (stream == nullptr) return false;
    bool ok = SDL_AudioStreamPut(stream, bytes, static_cast<int>(wholeBytes)) == 0 && SDL_AudioStreamFlush(stream) == 0;
    if (ok) {
        const int available = SDL_AudioStreamAvailable(stream);
        out->resize(static_cast<size_t>(available) / sizeof(int16_t) / MIX_CHANNELS * MIX_CHANNELS);
        const int wanted = static_cast<int>(out->size() * sizeof(int16_t));
        ok = SDL_AudioStreamGet(stream, out->data(), wanted) == wanted;
    }
    SDL_FreeAudioStream(stream);
    if (!ok) out->clear();
    return ok;
}
