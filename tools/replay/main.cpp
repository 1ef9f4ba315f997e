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
    "       skyring-replay --help | --version\n"
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

// Standard output holds only this text; a failure to write it is a failure too.
int Print(const char* text) {
    if (std::fputs(text, stdout) >= 0 && std::fclose(stdout) == 0) return 0;
    return Fail(std::string("standard output: ") + std::strerror(errno));
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
        if (option == "--help" || option == "-h") return Print(kUsage);
        if (option == "--version") return Print("skyring-replay " SKYRING_VERSION "\n");
        int64_t* count = option == "--frames" ? &options.frames : option == "--png-every" ? &options.pngEvery : nullptr;
        std::string* name = option == "--script"  ? &scriptPath
                            : option == "--trace" ? &tracePath
                            : option == "--png"   ? &options.pngDirectory
                                                  : nullptr;
        if (count == nullptr && name == nullptr) return Fail("unknown argument '" + Excerpt(option) + "'\n" + kUsage);
        if (i + 1 >= argc) return Fail("missing value after " + option + "\n" + kUsage);
        const char* value = argv[++i];
        if (count != nullptr) {
            const int64_t least = count == &options.frames ? 0 : 1;
            if (!ParseCount(value, least, count)) {
                return Fail(option + " needs a number of " + std::to_string(least) + " or more");
            }
        } else if (*value == '\0') {
            return Fail(option + " needs a name, not an empty one");
        } else {
            *name = value;
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
