// The real sound output: SDL's default device in the mix format, fed from its callback.
#include "platform/audio.h"
#include "platform/backend.h"
#include "platform/debug.h"
#include "platform/sdl/sdl_window.h"
#include "platform/voices.h"

namespace {

SDL_AudioDeviceID output = 0;

void Callback(void*, Uint8* stream, int len) {
    // Like a sound card that serves the active program only: the game is heard while its
    // window has the focus, and its clips play on unheard while it has not.
    PlatformAudioMix(reinterpret_cast<int16_t*>(stream),
                     static_cast<size_t>(len) / (sizeof(int16_t) * MIX_CHANNELS), SdlWindowIsActive());
}

}  // namespace

uint32_t BackendAudioOpen() {
    if (output != 0) return DS_OK;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        DebugPrintf("SDL audio: %s\n", SDL_GetError());
        return DSERR_NODRIVER;
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
        DebugPrintf("SDL audio device: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return DSERR_NODRIVER;
    }
    SDL_PauseAudioDevice(output, 0);
    return DS_OK;
}

void BackendAudioClose() {
    if (output == 0) return;
    SDL_CloseAudioDevice(output);  // waits for a running callback to finish
    output = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
