// The real sound output: SDL's default device in the mix format, fed from its callback.
#include <cstdio>
#include <string>

#include "platform/audio.h"
#include "platform/device/hooks.h"
#include "platform/device/voices.h"
#include "platform/sdl/sdl_backend.h"

namespace {

SDL_AudioDeviceID output = 0;

void Callback(void*, Uint8* stream, int len) {
    // Like a sound card that serves the active program only: the game is heard while its
    // window has the focus, and its clips play on unheard while it has not, or when muted.
    DeviceAudioMix(reinterpret_cast<int16_t*>(stream),
                   static_cast<size_t>(len) / (sizeof(int16_t) * MIX_CHANNELS), SdlWindowIsActive() && !SdlMuted());
}

// Opens SDL's audio and its default device, playing; on failure says why in `reason`.
bool OpenOutput(std::string* reason) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        *reason = std::string("SDL audio: ") + SDL_GetError();
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = MIX_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = MIX_CHANNELS;
    want.samples = 1024;  // about 23 ms, well inside one 50 ms frame
    want.callback = Callback;
    // No changes allowed: SDL converts to whatever the hardware wants behind the callback.
    output = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (output == 0) {
        *reason = std::string("SDL audio device: ") + SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(output, 0);
    return true;
}

}  // namespace

uint32_t BackendAudioOpen() {
    if (output != 0) return DS_OK;
    std::string reason;
    if (OpenOutput(&reason)) return DS_OK;
    if (!SdlDriverNamed("SDL_AUDIODRIVER")) {
        // No sound card here (a VM, a remote desktop, the sound server stopped): the game plays
        // on in silence. SDL's dummy driver pulls the mix at the real pace, so every clip's
        // position moves as it would on a card.
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
        std::string silentReason;
        if (OpenOutput(&silentReason)) {
            std::fprintf(stderr, "Skyring: no sound output (%s); playing in silence\n", reason.c_str());
            return DS_OK;
        }
    }
    DeviceReason("%s", reason.c_str());
    return DSERR_NODRIVER;
}

// A held device calls for no sound at all, so every clip keeps its place.
void SdlAudioHold(bool hold) {
    if (output != 0) SDL_PauseAudioDevice(output, hold ? 1 : 0);
}

void BackendAudioClose() {
    if (output == 0) return;
    SDL_CloseAudioDevice(output);  // waits for a running callback to finish
    output = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
