#include "sound/sound.h"

#include <algorithm>

#include "platform/bytes.h"
#include "platform/debug.h"
#include "platform/resources.h"

AudioDevice SoundDevice = nullptr;
AudioBuffer PrimarySoundBuffer = nullptr;
AudioBuffer SoundBank[SOUND_SLOTS] = {};

namespace {

// The canonical 44-byte WAVE header: the format at byte 20, the data length at 40, the
// samples from 44. Nothing else in the header is consulted, so quirky length fields load.
constexpr size_t kFormatOffset = 20;
constexpr size_t kDataLengthOffset = 40;
constexpr size_t kHeaderBytes = 44;

WAVEFORMATEX ReadFormat(const uint8_t* p) {
    return WAVEFORMATEX{Read16(p), Read16(p + 2), Read32(p + 4), Read32(p + 8), Read16(p + 12), Read16(p + 14),
                        Read16(p + 16)};
}

}  // namespace

int InitDirectSound(WindowHandle window) {
    auto fail = [](int32_t step, uint32_t code) {
        DebugPrintf("DirectSound Init Failed at %d error_code=%x\n", step, code);
        ReleaseDirectSound();
        return 0;
    };
    if (uint32_t code = AudioCreate(&SoundDevice)) return fail(22, code);
    if (uint32_t code = AudioSetCooperativeLevel(SoundDevice, window, DSSCL_NORMAL)) return fail(26, code);
    if (uint32_t code = AudioCreatePrimaryBuffer(SoundDevice, &PrimarySoundBuffer)) return fail(35, code);
    for (AudioBuffer& slot : SoundBank) slot = nullptr;
    return 1;
}

int InitSoundObject(int32_t slot, const char* name) {
    auto fail = [](int32_t step) {
        DebugPrintf("SoundObject Init Failed at %d\n", step);
        return 0;
    };
    if (slot < 0 || slot >= SOUND_SLOTS) return fail(85);  // there is no such slot to fill

    const EmbeddedResource* found = ResourceFind(name, "WAVE");
    if (found == nullptr) return fail(85);

    const ResourceSpan clip = ResourceLoad(found);
    if (clip.data == nullptr || clip.size < kHeaderBytes) return fail(91);
    const uint32_t dataLength = Read32(clip.data + kDataLengthOffset);
    // A resource shorter than its header says cannot be had whole.
    if (clip.size - kHeaderBytes < dataLength) return fail(91);
    const WAVEFORMATEX format = ReadFormat(clip.data + kFormatOffset);

    if (AudioCreateBuffer(SoundDevice, &format, dataLength, &SoundBank[slot]) != DS_OK) return fail(102);
    void* first = nullptr;
    void* second = nullptr;
    uint32_t firstBytes = 0, secondBytes = 0;
    if (AudioBufferLock(SoundBank[slot], 0, dataLength, &first, &firstBytes, &second, &secondBytes) != DS_OK) {
        return fail(102);
    }
    // A lock from the buffer's start never wraps: the whole clip comes as the first region.
    if (firstBytes > dataLength || secondBytes != 0 || (first == nullptr && firstBytes != 0)) {
        AudioBufferUnlock(SoundBank[slot], first, 0, second, 0);
        return fail(102);
    }
    const uint8_t* samples = clip.data + kHeaderBytes;
    std::copy(samples, samples + firstBytes, static_cast<uint8_t*>(first));
    AudioBufferUnlock(SoundBank[slot], first, firstBytes, nullptr, 0);
    return 1;
}

namespace {

PlaySoundObserver playObserver = nullptr;

}  // namespace

void SetPlaySoundObserver(PlaySoundObserver observer) { playObserver = observer; }

void PlaySoundObject(int32_t slot, int32_t mode) {
    if (playObserver != nullptr) playObserver(slot, mode);
    if (slot < 0 || slot >= SOUND_SLOTS || SoundBank[slot] == nullptr) return;
    AudioBuffer buffer = SoundBank[slot];
    switch (mode) {
        case PLAY_LOOP: AudioBufferPlay(buffer, true); break;
        case PLAY_STOP: AudioBufferStop(buffer); break;
        case PLAY_ONCE:
            // Stop keeps the position, so a clip still sounding goes on rather than restarting.
            AudioBufferStop(buffer);
            AudioBufferPlay(buffer, false);
            break;
        default: break;
    }
}

void ReleaseDirectSound() {
    for (AudioBuffer& slot : SoundBank) {
        if (slot != nullptr) AudioBufferRelease(slot);
        slot = nullptr;
    }
    if (PrimarySoundBuffer != nullptr) AudioBufferRelease(PrimarySoundBuffer);
    if (SoundDevice != nullptr) AudioRelease(SoundDevice);
    PrimarySoundBuffer = nullptr;
    SoundDevice = nullptr;
}
