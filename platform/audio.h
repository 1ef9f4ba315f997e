#pragma once
// The audio device: static buffers that each hold one clip, played once or looping and
// mixed by the platform. Every call returns 0 or a nonzero code.
//
// Play positions follow one rule set: a buffer's position persists across stop, returns to
// the start when the buffer ends on its own, and is never reset by a play request; a play
// request on a playing buffer only takes over its looping flag.
#include <cstdint>

#include "platform/window.h"

// A PCM format as it lies in a WAVE file from byte 20 on (cbSize is ignored for PCM).
struct WAVEFORMATEX {
    uint16_t wFormatTag;
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;
    uint16_t nBlockAlign;
    uint16_t wBitsPerSample;
    uint16_t cbSize;
};

using AudioDevice = struct PlatformAudioDevice*;
using AudioBuffer = struct PlatformAudioBuffer*;

enum : uint32_t {
    DS_OK = 0,
    DSERR_GENERIC = 0x80004005,
    DSERR_INVALIDPARAM = 0x80070057,
    DSERR_BADFORMAT = 0x88780064,
    DSERR_INVALIDCALL = 0x88780032,
    DSERR_NODRIVER = 0x88780078,
};

enum : uint16_t { WAVE_FORMAT_PCM = 1 };
enum : uint32_t { DSSCL_NORMAL = 1 };

// Opens the default output device.
uint32_t AudioCreate(AudioDevice* device);
// Ties the device to the window: buffers are heard only while that window is the active one.
// Only DSSCL_NORMAL is offered.
uint32_t AudioSetCooperativeLevel(AudioDevice device, WindowHandle window, uint32_t level);
// The device's own output buffer; it plays in the device's default format.
uint32_t AudioCreatePrimaryBuffer(AudioDevice device, AudioBuffer* primary);
// A static buffer of `bytes` bytes in the given PCM format (8 or 16 bits, 1 or 2 channels),
// silent until filled through a lock. Formats the device cannot take give DSERR_BADFORMAT.
uint32_t AudioCreateBuffer(AudioDevice device, const WAVEFORMATEX* format, uint32_t bytes, AudioBuffer* buffer);

// Write access to bytes offset..offset+bytes-1 of a buffer. A static buffer never wraps, so
// the second region is always empty (null, 0); both are reported for callers that copy both.
uint32_t AudioBufferLock(AudioBuffer buffer, uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes,
                         void** second, uint32_t* secondBytes);
// Ends the access; what was written is what the buffer plays from now on.
uint32_t AudioBufferUnlock(AudioBuffer buffer, void* first, uint32_t firstBytes, void* second, uint32_t secondBytes);

// Starts or goes on playing from the current position.
uint32_t AudioBufferPlay(AudioBuffer buffer, bool looping);
// Silences the buffer at once, keeping its position.
uint32_t AudioBufferStop(AudioBuffer buffer);

uint32_t AudioBufferRelease(AudioBuffer buffer);
// Closes the output; buffers still alive fall silent and wait for their own release.
uint32_t AudioRelease(AudioDevice device);
