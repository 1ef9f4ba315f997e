#pragma once
// What each backend supplies to the shared device code of the platform layer.
#include <cstddef>
#include <cstdint>

#include "platform/display.h"

// Every device call starts here. The headless backend logs "operation object" and fails
// the call on request; the real backend lets every call through. Returns 0 or a code.
uint32_t PlatformCall(const char* operation, const char* object = nullptr);

// Where debug lines go: standard error on request (real backend), a list (headless).
void BackendDebugOutput(const char* line);
// Forgets the last line, for a headless program that starts afresh.
void PlatformDebugForget();

// Opens and closes whatever shows pages on the screen.
uint32_t BackendDisplayOpen(WindowHandle window);
void BackendDisplayClose();
// Shows a 640 x 480 page of indices through the palette.
void BackendPresent(const uint8_t* page, const PALETTEENTRY palette[256]);

// Takes every surface's memory away, as when another program takes the screen: calls on
// them fail with DDERR_SURFACELOST until restored, and restored ones come back blank.
void PlatformLoseSurfaces();
// The page now visible and the palette, for backends and tests that look at the screen;
// null while there is no display.
const uint8_t* PlatformVisiblePage();
const PALETTEENTRY* PlatformPaletteColours();
// Frees every device object still alive, for a headless program that starts afresh.
void PlatformDisplayForget();

// Opens and closes the sound output. While it is open the backend pulls its sound with
// PlatformAudioMix: interleaved 16-bit stereo at 44100 Hz, silent (but moving every
// buffer on) when not audible.
uint32_t BackendAudioOpen();
void BackendAudioClose();
void PlatformAudioMix(int16_t* out, size_t frames, bool audible);
// Frees every audio object still alive, for a headless program that starts afresh.
void PlatformAudioForget();

// Looks a resource up in the table the build embedded.
const struct EmbeddedResource* PlatformFindEmbedded(const char* name, const char* type);
