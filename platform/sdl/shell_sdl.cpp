// The player's shell in the real backend: pause, mute and window mode, from keys and pads.
#include <atomic>

#include "platform/device/hooks.h"
#include "platform/device/pause_clock.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/shell.h"

namespace {

ShellRun run;
ShellSettings& settings = run.settings;
std::atomic<bool> muted{false};  // read by the audio thread
PauseClock pauseClock;
bool pausedByFocus = false;

void Changed() {
    if (run.settingsChanged != nullptr) run.settingsChanged(settings);
}

}  // namespace

void ShellConfigure(const ShellRun& chosen) {
    run = chosen;
    muted = chosen.settings.muted;
}

const ShellRun& SdlShellRun() { return run; }
bool SdlMuted() { return muted; }
bool SdlPaused() { return pauseClock.paused(); }
uint32_t SdlPausedMs() { return pauseClock.PausedMs(static_cast<double>(SDL_GetTicks64())); }

void SdlSetPaused(bool on) {
    pausedByFocus = false;
    if (!pauseClock.Set(on, static_cast<double>(SDL_GetTicks64()))) return;
    SdlAudioHold(on);
    SdlRepresent();  // dimmed under the pause mark, or as it was
}

bool SdlShellTakesKey(const SDL_KeyboardEvent& key, SDL_Window* window) {
    const SDL_Keycode sym = key.keysym.sym;
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    const bool pause = sym == SDLK_p || sym == SDLK_PAUSE, mute = sym == SDLK_m;
    const bool windowMode = sym == SDLK_F11 || (alt && (sym == SDLK_RETURN || sym == SDLK_KP_ENTER));
    const bool picture = sym == SDLK_F12;
    if (!pause && !mute && !windowMode && !picture) return false;
    if (key.type != SDL_KEYDOWN || key.repeat != 0) return true;
    if (picture) {
        const uint8_t* page = DeviceVisiblePage();
        if (run.pictureWanted != nullptr && page != nullptr) run.pictureWanted(page, DevicePaletteColours());
    } else if (pause) {
        SdlSetPaused(!pauseClock.paused());
    } else if (mute) {
        settings.muted = !settings.muted;
        muted = settings.muted;
        Changed();
    } else {
        settings.windowed = !settings.windowed;
        SdlSwitchWindowMode(window, settings.windowed);
        Changed();
    }
    return true;
}

void SdlShellFocusChanged(SDL_Window* window, bool gained) {
    // A full-screen window would keep covering what the player switched to: it steps aside
    // until the player comes back to it.
    if (!settings.windowed) {
        SDL_SetWindowAlwaysOnTop(window, gained ? SDL_TRUE : SDL_FALSE);
        if (!gained) SDL_MinimizeWindow(window);
    }
    if (!settings.pauseOnFocusLoss) return;
    if (!gained && !pauseClock.paused()) {
        SdlSetPaused(true);
        pausedByFocus = true;
    } else if (gained && pausedByFocus) {
        SdlSetPaused(false);
    }
}
