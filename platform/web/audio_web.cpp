// The browser's sound output: the page's audio worklet asks for blocks of the shared mixer's
// sound (library_web.js).
#include <emscripten/emscripten.h>

#include <cstdio>
#include <vector>

#include "platform/audio.h"
#include "platform/device/hooks.h"
#include "platform/device/voices.h"
#include "platform/web/web_backend.h"

namespace {

bool opened = false;
std::vector<int16_t> mixed;

}  // namespace

// Called by the page for `frames` frames the worklet asked for; the mixed samples' address, or 0
// for silence while paused (the clips hold their place, as a held desktop device).
extern "C" EMSCRIPTEN_KEEPALIVE int16_t* WebAudioMix(int frames) {
    if (!opened || PlatformHeld() || frames <= 0) return nullptr;
    mixed.resize(static_cast<size_t>(frames) * MIX_CHANNELS);
    // Like a sound card that serves the active program only: heard while the page has the
    // focus, and its clips play on unheard while it has not, or when muted.
    DeviceAudioMix(mixed.data(), static_cast<size_t>(frames), WebWindowIsActive() && DeviceAudible());
    return mixed.data();
}

uint32_t BackendAudioOpen() {
    if (opened) return DS_OK;
    if (WebAudioOpen() == 0) {
        // A browser without Web Audio: the game plays on in silence, its clips never moving.
        std::fprintf(stderr, "Skyring: no sound output (no Web Audio); playing in silence\n");
    }
    opened = true;
    return DS_OK;
}

void BackendAudioClose() {
    if (!opened) return;
    WebAudioClose();
    opened = false;
}
