// skyring-replay: runs the game headless and fast from an input script; writes a per-frame
// trace and pictures of frames.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "tools/output/output_file.h"
#include "tools/replay/replay.h"

namespace {

const char kUsage[] =
    "usage: skyring-replay [--frames N] [--script FILE] [--trace FILE|-] [--png DIR] [--png-every K]\n"
    "  --frames N     run at most N frames (default 2000); the run ends earlier if the game quits\n"
    "  --script FILE  input events, one per line: <frame> down|up <key> | activate | deactivate | close\n"
    "                 keys: left, right, up, down, escape or a virtual-key code\n"
    "  --trace FILE   write one JSON line per frame (- for standard output)\n"
    "  --png DIR      write the page each frame shows as DIR/frame-NNNNNN.png\n"
    "  --png-every K  only every K-th frame's picture (default 1)\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "skyring-replay: %s\n", message.c_str());
    return 2;
}

bool ParseCount(const char* text, int64_t min, int64_t* value) {
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < min) return false;
    *value = parsed;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ReplayOptions options;
    std::string scriptPath, tracePath;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (i + 1 >= argc) return Fail("missing value after " + option + "\n" + kUsage);
        const char* value = argv[++i];
        if (option == "--frames") {
            if (!ParseCount(value, 0, &options.frames)) return Fail("--frames needs a number of 0 or more");
        } else if (option == "--png-every") {
            if (!ParseCount(value, 1, &options.pngEvery)) return Fail("--png-every needs a number of 1 or more");
        } else if (option == "--script") {
            scriptPath = value;
        } else if (option == "--trace") {
            tracePath = value;
        } else if (option == "--png") {
            options.pngDirectory = value;
        } else {
            return Fail("unknown option " + option + "\n" + kUsage);
        }
    }
    if (!scriptPath.empty()) {
        std::ifstream script(scriptPath);
        if (!script) return Fail(scriptPath + ": " + std::strerror(errno));
        std::string error;
        if (!ParseScript(script, scriptPath, &options.events, &error)) return Fail(error);
    }
    // A trace is kept only when the run completes: an unfinished one is dropped on return.
    OutputFile trace;
    std::string error;
    if (!tracePath.empty()) {
        if (!trace.Open(tracePath, &error)) return Fail(error);
        options.trace = trace.stream();
    }
    const ReplayResult result = RunReplay(options);
    CloseReplayedGame();
    if (!result.started) {
        std::fprintf(stderr, "skyring-replay: %s\n", result.error.c_str());
        return 1;
    }
    if (!result.error.empty()) return Fail(result.error);
    if (result.traceError != 0) return Fail(trace.name() + ": " + std::strerror(result.traceError));
    if (!tracePath.empty() && !trace.Commit(&error)) return Fail(error);
    return 0;
}
