// The player's shell in the browser: pause (P, Pause, a pad's Start, a hidden tab) and mute (M).
#include <emscripten/emscripten.h>

#include "platform/web/web_backend.h"

namespace {

ShellRun run;
ShellSettings& settings = run.settings;
bool paused = false;
bool pausedByHiding = false;
double pauseBegan = 0;      // the page's clock when the pause began
double pausedBefore = 0;    // milliseconds of earlier pauses

}  // namespace

// The page has no recordings or pictures: only the settings and their changes are taken.
void ShellConfigure(const ShellRun& chosen) { run = chosen; }

bool WebMuted() { return settings.muted; }
bool WebPaused() { return paused; }

uint32_t WebPausedMs() {
    const double total = pausedBefore + (paused ? emscripten_get_now() - pauseBegan : 0);
    return static_cast<uint32_t>(static_cast<uint64_t>(total));
}

void WebSetPaused(bool on) {
    pausedByHiding = false;
    if (on == paused) return;
    if (on) {
        pauseBegan = emscripten_get_now();
    } else {
        pausedBefore += emscripten_get_now() - pauseBegan;
    }
    paused = on;
    WebRepresent();  // dimmed under the pause mark, or as it was
    WebWake();
}

bool WebShellTakesKey(uint32_t virtualKey, bool down, bool repeat) {
    const bool pause = virtualKey == 'P' || virtualKey == 256 + 72, mute = virtualKey == 'M';
    if (!pause && !mute) return false;
    if (!down || repeat) return true;
    if (pause) {
        WebSetPaused(!paused);
    } else {
        settings.muted = !settings.muted;
        if (run.settingsChanged != nullptr) run.settingsChanged(settings);
    }
    return true;
}

void WebShellVisibilityChanged(bool visible) {
    // A hidden tab gets its timers slowed to a crawl: the game waits for the player instead.
    if (!visible && !paused) {
        WebSetPaused(true);
        pausedByHiding = true;
    } else if (visible && pausedByHiding) {
        WebSetPaused(false);
    }
}
