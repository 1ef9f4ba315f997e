#include "shell/playback.h"

#include <utility>
#include <vector>

#include "app/game.h"
#include "formats/script.h"
#include "sim/world.h"

namespace {

std::vector<ScriptEvent> playback;
size_t nextEvent = 0;
bool playing = false;
bool playedOut = false;

}  // namespace

void PlaybackOf(std::vector<ScriptEvent> events) {
    playback = std::move(events);
    nextEvent = 0;
    playing = true;
    playedOut = false;
}

bool PlaybackRead(const std::string& path, std::string* error) {
    std::vector<ScriptEvent> events;
    if (!ReadScriptFile(path, &events, error)) return false;
    PlaybackOf(std::move(events));
    return true;
}

void PlaybackEnd() {
    playback.clear();
    playing = false;
}

bool PlaybackActive() { return playing; }

void PlaybackBeforeFrame(int64_t frame) {
    for (; nextEvent < playback.size() && playback[nextEvent].frame == frame; ++nextEvent) {
        PostScriptEvent(mainWindow, playback[nextEvent]);
    }
}

void PlaybackAfterFrame(int64_t frame) {
    // A recording played out ends with the next jump's end, as a film ends after its last scene.
    const bool eventsOver = nextEvent == playback.size() && (playback.empty() || frame >= playback.back().frame);
    if (playing && !playedOut && eventsOver && restartRequested != 0) {
        playedOut = true;
        MessagePost(mainWindow, WM_CLOSE, 0, 0);
    }
}
