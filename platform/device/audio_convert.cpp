// Clip conversion with SDL's converter; it needs neither SDL_Init nor a device, so the
// headless backend uses it too and hears exactly what the real one plays. (SDL_AudioCVT
// rather than SDL_AudioStream: in one pass the stream drops the last ~23 ms of a clip.)
#include <SDL.h>

#include <cstring>

#include "platform/device/voices.h"

bool ConvertToMixFormat(const WAVEFORMATEX& format, const uint8_t* bytes, size_t size, std::vector<int16_t>* out) {
    out->clear();
    if (format.wFormatTag != WAVE_FORMAT_PCM || (format.nChannels != 1 && format.nChannels != 2) ||
        (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) || format.nSamplesPerSec == 0 ||
        format.nSamplesPerSec > 0x7fffffff) {
        return false;
    }
    const size_t frameBytes = size_t{format.nChannels} * (format.wBitsPerSample / 8u);
    const size_t wholeBytes = size / frameBytes * frameBytes;
    if (wholeBytes == 0) return true;
    SDL_AudioCVT cvt;
    const int needed = SDL_BuildAudioCVT(&cvt, format.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB,
                                         static_cast<Uint8>(format.nChannels),
                                         static_cast<int>(format.nSamplesPerSec), AUDIO_S16SYS, MIX_CHANNELS,
                                         MIX_RATE);
    if (needed < 0 || wholeBytes > static_cast<size_t>(INT32_MAX / cvt.len_mult)) return false;
    std::vector<uint8_t> work(wholeBytes * static_cast<size_t>(needed ? cvt.len_mult : 1));
    std::memcpy(work.data(), bytes, wholeBytes);
    size_t convertedBytes = wholeBytes;
    if (needed) {
        cvt.buf = work.data();
        cvt.len = static_cast<int>(wholeBytes);
        if (SDL_ConvertAudio(&cvt) != 0) return false;
        convertedBytes = static_cast<size_t>(cvt.len_cvt);
    }
    out->resize(convertedBytes / (sizeof(int16_t) * MIX_CHANNELS) * MIX_CHANNELS);
    // A clip of a sample or two may come out shorter than one output frame.
    if (out->empty()) return true;
    std::memcpy(out->data(), work.data(), out->size() * sizeof(int16_t));
    return true;
}
