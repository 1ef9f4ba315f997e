// The real sound output: SDL's default device in the mix format, fed from its callback. When
// the device goes away (unplugged, the sound server restarted), the game plays on in silence
// and a watcher opens the default output again once there is one.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "platform/audio.h"
#include "platform/device/hooks.h"
#include "platform/device/voices.h"
#include "platform/sdl/sdl_backend.h"

namespace {

using namespace std::chrono_literals;

// The device, and whether the player's pause holds it: the watcher thread may replace it.
std::mutex outputLock;
SDL_AudioDeviceID output = 0;
bool held = false;

std::thread watcher;
std::condition_variable watcherWakes;
bool watcherEnds = false;

void Callback(void*, Uint8* stream, int len) {
    // Like a sound card that serves the active program only: the game is heard while its
    // window has the focus, and its clips play on unheard while it has not, or when muted.
    DeviceAudioMix(reinterpret_cast<int16_t*>(stream),
                   static_cast<size_t>(len) / (sizeof(int16_t) * MIX_CHANNELS), SdlWindowIsActive() && DeviceAudible());
}

// The default device in the mix format, held (SDL opens devices paused); 0 with the reason.
SDL_AudioDeviceID OpenDevice(std::string* reason) {
    SDL_AudioSpec want{};
    want.freq = MIX_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = MIX_CHANNELS;
    want.samples = 1024;  // about 23 ms, well inside one 50 ms frame
    want.callback = Callback;
    // No changes allowed: SDL converts to whatever the hardware wants behind the callback.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (device == 0) *reason = std::string("SDL audio device: ") + SDL_GetError();
    return device;
}

// Opens SDL's audio and its default device, playing; on failure says why in `reason`.
bool OpenOutput(std::string* reason) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        *reason = std::string("SDL audio: ") + SDL_GetError();
        return false;
    }
    output = OpenDevice(reason);
    if (output == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(output, 0);
    return true;
}

// Once a second: is the device still there? A device SDL lost keeps calling back at its pace,
// so every clip moves on as on a card, unheard, until a new one replaces it.
void Watch() {
    std::unique_lock<std::mutex> hold(outputLock);
    bool lost = false;
    while (!watcherWakes.wait_for(hold, 1s, [] { return watcherEnds; })) {
        if (!lost) {
            lost = SDL_GetAudioDeviceStatus(output) == SDL_AUDIO_STOPPED;
            if (lost) std::fprintf(stderr, "Skyring: the sound output went away; playing in silence until it is back\n");
            continue;
        }
        std::string reason;
        const SDL_AudioDeviceID again = OpenDevice(&reason);
        if (again == 0) continue;
        SDL_CloseAudioDevice(output);  // no two callbacks at once: each moves the clips on
        output = again;
        SDL_PauseAudioDevice(output, held ? 1 : 0);
        lost = false;
        std::fprintf(stderr, "Skyring: the sound output is back\n");
    }
}

}  // namespace

uint32_t BackendAudioOpen() {
    if (output != 0) return DS_OK;
    std::string reason;
    if (OpenOutput(&reason)) {
        watcherEnds = false;
        watcher = std::thread(Watch);
        return DS_OK;
    }
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
    std::lock_guard<std::mutex> guard(outputLock);
    held = hold;
    if (output != 0) SDL_PauseAudioDevice(output, hold ? 1 : 0);
}

void BackendAudioClose() {
    if (watcher.joinable()) {
        {
            std::lock_guard<std::mutex> guard(outputLock);
            watcherEnds = true;
        }
        watcherWakes.notify_one();
        watcher.join();
    }
    if (output == 0) return;
    SDL_CloseAudioDevice(output);  // waits for a running callback to finish
    output = 0;
    held = false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
