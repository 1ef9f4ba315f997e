// The player's shell in the browser: pause (P, Pause, a pad's Start, a hidden tab) and mute (M).
#include <emscripten/emscripten.h>

#include "platform/device/pause_clock.h"
#include "platform/web/web_backend.h"

namespace {

ShellRun run;
ShellSettings& settings = run.settings;
PauseClock pauseClock;
bool pausedByHiding = false;

}  // namespace

// The page has no recordings or pictures: only the settings and their changes are taken.
void ShellConfigure(const ShellRun& chosen) { run = chosen; }

bool WebMuted() { return settings.muted; }
bool WebPaused() { return pauseClock.paused(); }

uint32_t WebPausedMs() { return pauseClock.PausedMs(emscripten_get_now()); }

void WebSetPaused(bool on) {
    pausedByHiding = false;
    if (!pauseClock.Set(on, emscripten_get_now())) return;
    WebAudioHold(on);
    WebRepresent();  // dimmed under the pause mark, or as it was
    WebWake();
}

bool WebShellTakesKey(uint32_t virtualKey, bool down, bool repeat) {
    const bool pause = virtualKey == 'P' || virtualKey == 256 + 72, mute = virtualKey == 'M';
    if (!pause && !mute) return false;
    if (!down || repeat) return true;
    if (pause) {
        WebSetPaused(!pauseClock.paused());
    } else {
        settings.muted = !settings.muted;
        if (run.settingsChanged != nullptr) run.settingsChanged(settings);
    }
    return true;
}

void WebShellVisibilityChanged(bool visible) {
    // A hidden tab gets its timers slowed to a crawl: the game waits for the player instead.
    if (!visible && !pauseClock.paused()) {
        WebSetPaused(true);
        pausedByHiding = true;
    } else if (visible && pausedByHiding) {
        WebSetPaused(false);
    }
}
