#pragma once
// Runs the game's own start-up and frame loop on the headless backend, fed by a script.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "formats/script.h"

class GifClip;

struct ReplayOptions {
    int64_t frames = 2000;
    std::vector<ScriptEvent> events;
    FILE* trace = nullptr;          // one JSON line per frame that reaches its flip; a trace that
                                    // can no longer be written ends the run, its owner says why
    std::string pngDirectory;       // empty: no pictures
    int64_t pngEvery = 1;
    GifClip* gif = nullptr;         // null: no clip; else the pages of frames gifFrom..gifTo
    int64_t gifFrom = 0;
    int64_t gifTo = INT64_MAX;
};

struct ReplayResult {
    bool started = false;  // false: start-up failed, error says why
    int64_t framesRun = 0; // iterations begun, the last one included even if it ended the program
    bool ended = false;    // the program ended in a frame's wait
    std::string error;
    int traceError = 0;     // errno of a failed trace write, which ended the run
};

// A run that stops before the game ends leaves it as its last frame left it, to be looked at.
ReplayResult RunReplay(const ReplayOptions& options);
// Closes a game still running as its user would, so that its own teardown releases everything.
void CloseReplayedGame();
// Queues a script event for the running program; it is dispatched in the next frame's wait.
void PostScriptEvent(const ScriptEvent& event);
