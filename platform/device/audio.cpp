// The audio device semantics shared by every backend: buffers keep their clip as written and
// as converted for the mixer; a backend only opens the output and pulls mixed frames.
#include "platform/audio.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "platform/device/hooks.h"
#include "platform/device/voices.h"

struct PlatformAudioDevice {
    WindowHandle window = nullptr;
};

struct PlatformAudioBuffer {
    bool primary = false;
    WAVEFORMATEX format{};
    std::vector<uint8_t> bytes;  // the clip as written through locks
    bool locked = false;
    Voice voice;
};

namespace {

// Guards the voices against the backend's mixing thread.
std::mutex mixLock;
std::atomic<bool> audible{true};  // the player's mute, read by the mixing thread
PlatformAudioDevice* liveDevice = nullptr;
std::vector<PlatformAudioBuffer*> liveBuffers;
std::vector<Voice*> scratchVoices;  // the mixing thread's list, sized as buffers are made

// What the device takes: plain PCM of 1 or 2 channels, 8 or 16 bits, a rate a sound card
// can play, and a block size that matches them.
bool FormatIsPlayable(const WAVEFORMATEX& f) {
    return f.wFormatTag == WAVE_FORMAT_PCM && (f.nChannels == 1 || f.nChannels == 2) &&
           (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) && f.nSamplesPerSec >= 100 &&
           f.nSamplesPerSec <= 200000 && f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8;
}

constexpr uint32_t kMaxBufferBytes = 0x0FFFFFFF;

// Hands a finished buffer to the mixing thread, which reads it from then on.
PlatformAudioBuffer* PublishBuffer(PlatformAudioBuffer* buffer) {
    std::lock_guard<std::mutex> hold(mixLock);
    liveBuffers.push_back(buffer);
    scratchVoices.reserve(liveBuffers.size());
    return buffer;
}

void DeleteBuffer(PlatformAudioBuffer* buffer) {
    {
        std::lock_guard<std::mutex> hold(mixLock);
        liveBuffers.erase(std::remove(liveBuffers.begin(), liveBuffers.end(), buffer), liveBuffers.end());
    }
    delete buffer;
}

bool IsLiveBuffer(AudioBuffer buffer) {
    return buffer != nullptr && std::find(liveBuffers.begin(), liveBuffers.end(), buffer) != liveBuffers.end();
}

}  // namespace

uint32_t AudioCreate(AudioDevice* device) {
    *device = nullptr;
    if (uint32_t code = BackendCall("AudioCreate")) return code;
    if (liveDevice != nullptr) return DSERR_INVALIDCALL;  // one device per program
    if (uint32_t code = BackendAudioOpen()) return code;
    std::lock_guard<std::mutex> hold(mixLock);  // the mixing thread runs from the opening on
    liveDevice = new PlatformAudioDevice;
    *device = liveDevice;
    return DS_OK;
}

uint32_t AudioSetCooperativeLevel(AudioDevice device, WindowHandle window, uint32_t level) {
    if (uint32_t code = BackendCall("AudioSetCooperativeLevel")) return code;
    if (device == nullptr || window == nullptr || level != DSSCL_NORMAL) return DSERR_INVALIDPARAM;
    device->window = window;
    return DS_OK;
}

uint32_t AudioCreatePrimaryBuffer(AudioDevice device, AudioBuffer* primary) {
    *primary = nullptr;
    if (uint32_t code = BackendCall("AudioCreatePrimaryBuffer")) return code;
    if (device == nullptr || device->window == nullptr) return DSERR_INVALIDCALL;
    auto* made = new PlatformAudioBuffer;
    made->primary = true;
    *primary = PublishBuffer(made);
    return DS_OK;
}

uint32_t AudioCreateBuffer(AudioDevice device, const WAVEFORMATEX* format, uint32_t bytes, AudioBuffer* buffer) {
    *buffer = nullptr;
    if (uint32_t code = BackendCall("AudioCreateBuffer")) return code;
    if (device == nullptr || format == nullptr) return DSERR_INVALIDPARAM;
    if (device->window == nullptr) return DSERR_INVALIDCALL;
    if (!FormatIsPlayable(*format)) return DSERR_BADFORMAT;
    if (bytes == 0 || bytes > kMaxBufferBytes) return DSERR_INVALIDPARAM;
    // Filled with silence of the format's own kind until a lock writes the clip.
    std::vector<uint8_t> silence(bytes, format->wBitsPerSample == 8 ? 0x80 : 0x00);
    auto* made = new PlatformAudioBuffer;
    made->format = *format;
    made->bytes = std::move(silence);
    *buffer = PublishBuffer(made);
    return DS_OK;
}

uint32_t AudioBufferLock(AudioBuffer buffer, uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes,
                         void** second, uint32_t* secondBytes) {
    *first = *second = nullptr;
    *firstBytes = *secondBytes = 0;
    if (uint32_t code = BackendCall("AudioBufferLock")) return code;
    if (!IsLiveBuffer(buffer)) return DSERR_INVALIDPARAM;
    if (buffer->primary || buffer->locked) return DSERR_INVALIDCALL;
    const size_t size = buffer->bytes.size();
    if (bytes == 0 || offset >= size || bytes > size - offset) return DSERR_INVALIDPARAM;
    buffer->locked = true;
    *first = buffer->bytes.data() + offset;
    *firstBytes = bytes;
    return DS_OK;
}

uint32_t AudioBufferUnlock(AudioBuffer buffer, void* first, uint32_t firstBytes, void*, uint32_t secondBytes) {
    if (uint32_t code = BackendCall("AudioBufferUnlock")) return code;
    if (!IsLiveBuffer(buffer)) return DSERR_INVALIDPARAM;
    if (!buffer->locked || secondBytes != 0) return DSERR_INVALIDCALL;
    // Only a region inside the buffer, as a lock gave it, can be handed back.
    const uint8_t* start = buffer->bytes.data();
    const size_t size = buffer->bytes.size();
    const auto at = reinterpret_cast<uintptr_t>(first), base = reinterpret_cast<uintptr_t>(start);
    if (at < base || at - base > size || firstBytes > size - (at - base)) return DSERR_INVALIDPARAM;
    buffer->locked = false;
    // Converted once here, so that playing costs no sample work beyond the mixing.
    std::vector<int16_t> converted;
    if (!ConvertToMixFormat(buffer->format, start, size, &converted)) return DSERR_GENERIC;
    std::lock_guard<std::mutex> hold(mixLock);
    VoiceReplaceSamples(buffer->voice, std::move(converted));
    return DS_OK;
}

uint32_t AudioBufferPlay(AudioBuffer buffer, bool looping) {
    if (uint32_t code = BackendCall("AudioBufferPlay")) return code;
    if (!IsLiveBuffer(buffer)) return DSERR_INVALIDPARAM;
    if (buffer->primary) return DS_OK;  // the output itself always runs
    std::lock_guard<std::mutex> hold(mixLock);
    VoicePlay(buffer->voice, looping);
    return DS_OK;
}

uint32_t AudioBufferStop(AudioBuffer buffer) {
    if (uint32_t code = BackendCall("AudioBufferStop")) return code;
    if (!IsLiveBuffer(buffer)) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> hold(mixLock);
    VoiceStop(buffer->voice);
    return DS_OK;
}

uint32_t AudioBufferRelease(AudioBuffer buffer) {
    const bool primary = IsLiveBuffer(buffer) && buffer->primary;
    if (uint32_t code = BackendCall("AudioBufferRelease", primary ? "primary" : nullptr)) return code;
    if (!IsLiveBuffer(buffer)) return DSERR_INVALIDPARAM;
    DeleteBuffer(buffer);
    return DS_OK;
}

uint32_t AudioRelease(AudioDevice device) {
    if (uint32_t code = BackendCall("AudioRelease")) return code;
    if (device == nullptr || device != liveDevice) return DSERR_INVALIDPARAM;
    BackendAudioClose();
    delete device;
    liveDevice = nullptr;
    return DS_OK;
}

void DeviceAudioMix(int16_t* out, size_t frames, bool audible) {
    std::lock_guard<std::mutex> hold(mixLock);
    scratchVoices.clear();
    if (liveDevice != nullptr) {
        for (PlatformAudioBuffer* buffer : liveBuffers) {
            if (!buffer->primary) scratchVoices.push_back(&buffer->voice);
        }
    }
    MixVoices(scratchVoices.data(), scratchVoices.size(), out, frames, audible);
}

size_t DeviceVoicePosition(AudioBuffer buffer) {
    std::lock_guard<std::mutex> hold(mixLock);
    return buffer != nullptr ? buffer->voice.position : 0;
}

void DeviceAudioForget() {
    BackendAudioClose();
    std::lock_guard<std::mutex> hold(mixLock);
    for (PlatformAudioBuffer* buffer : liveBuffers) delete buffer;
    liveBuffers.clear();
    delete liveDevice;
    liveDevice = nullptr;
}

void PlatformSetAudible(bool on) { audible = on; }
bool DeviceAudible() { return audible; }
