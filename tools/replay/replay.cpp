#include "tools/replay/replay.h"

#include <cerrno>
#include <cstdio>
#include <utility>

#include "app/game.h"
#include "platform/debug.h"
#include "platform/headless/headless.h"
#include "sim/world.h"
#include "sound/sound.h"
#include "tools/replay/gif.h"
#include "formats/page_png.h"
#include "formats/trace.h"

namespace {

std::vector<std::pair<int32_t, int32_t>> soundRequests;

void RecordSound(int32_t slot, int32_t mode) { soundRequests.emplace_back(slot, mode); }

}  // namespace

void PostScriptEvent(const ScriptEvent& event) { PostScriptEvent(HeadlessWindow(), event); }

ReplayResult RunReplay(const ReplayOptions& options) {
    ReplayResult result;
    // A run starts as a fresh program does.
    HeadlessReset();
    ResetGameState();
    HeadlessSetCallLogging(false);  // a long run would pile up millions of entries
    soundRequests.clear();
    SetPlaySoundObserver(RecordSound);
    if (!StartUp()) {
        result.error = std::string("the game did not start: ") + DebugLastLine();
        SetPlaySoundObserver(nullptr);
        return result;
    }
    result.started = true;
    size_t next = 0;
    for (int64_t frame = 0; frame < options.frames; ++frame) {
        for (; next < options.events.size() && options.events[next].frame == frame; ++next) PostScriptEvent(options.events[next]);
        ++result.framesRun;
        if (!RunFrame()) {
            result.ended = true;
            break;
        }
        const size_t debugLines = HeadlessDebugLineCount();
        HeadlessClearDebugLines();
        if (options.trace != nullptr) {
            std::string line = TraceLine(frame, PageCrc(HeadlessVisiblePage()), soundRequests, debugLines);
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), options.trace);
            if (std::ferror(options.trace)) {
                result.traceError = errno;
                break;
            }
        }
        soundRequests.clear();
        if (!options.pngDirectory.empty() && frame % options.pngEvery == 0) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame-%06lld.png", static_cast<long long>(frame));
            if (!WritePagePng(options.pngDirectory + name, HeadlessVisiblePage(), HeadlessPalette(), &result.error)) {
                break;
            }
        }
        if (options.gif != nullptr && frame >= options.gifFrom && frame <= options.gifTo &&
            !options.gif->AddPage(HeadlessVisiblePage(), HeadlessPalette(), &result.error)) {
            break;
        }
    }
    SetPlaySoundObserver(nullptr);
    return result;
}

void CloseReplayedGame() {
    if (HeadlessWindow() == nullptr) return;
    MessagePost(HeadlessWindow(), WM_CLOSE, 0, 0);
    PumpMessages();
}
