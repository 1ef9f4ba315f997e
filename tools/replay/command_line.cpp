#include "tools/replay/command_line.h"

#include <cerrno>
#include <cstdlib>

#include "shell/command_line.h"

namespace {

constexpr char kProgram[] = "skyring-replay";
const char kUsage[] =
    "usage: skyring-replay [--frames N] [--script FILE] [--trace FILE|-] [--png DIR] [--png-every K]\n"
    "                      [--gif FILE [--from F] [--to G]]\n"
    "       skyring-replay --help | --version\n"
    "  --frames N     run at most N frames (default 2000); the run ends earlier if the game quits\n"
    "  --script FILE  input events, one per line: <frame> down|up <key> | activate | deactivate | close\n"
    "                 keys: left, right, up, down, escape or a virtual-key code\n"
    "  --trace FILE   write one JSON line per frame (- for standard output)\n"
    "  --png DIR      write the page each frame shows as DIR/frame-NNNNNN.png\n"
    "  --png-every K  only every K-th frame's picture (default 1)\n"
    "  --gif FILE     write the pages of frames F..G as an animated GIF (- for standard output)\n"
    "  --from F       the clip's first frame (default 0)\n"
    "  --to G         the clip's last frame (default the run's last)\n";

bool ParseCount(const char* text, int64_t min, int64_t* value) {
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < min) return false;
    *value = parsed;
    return true;
}

}  // namespace

int ParseReplayCommandLine(int argc, char** argv, ReplayCommand* command) {
    ReplayOptions& options = command->options;
    std::string& scriptPath = command->scriptPath;
    std::string& tracePath = command->tracePath;
    std::string& gifPath = command->gifPath;
    int64_t from = -1, to = -1;  // -1: not given
    const auto count = [](const char* name, int64_t least, int64_t* value) {
        return CommandLine::Option{name, [name, least, value](const char* text, std::string* error) {
                                       if (ParseCount(text, least, value)) return true;
                                       *error = std::string(name) + " needs a number of " + std::to_string(least) + " or more";
                                       return false;
                                   }};
    };
    const CommandLine line{kProgram, kUsage, "skyring-replay " SKYRING_VERSION "\n",
                           {count("--frames", 0, &options.frames), count("--png-every", 1, &options.pngEvery),
                            NameOption("--script", &scriptPath), NameOption("--trace", &tracePath),
                            NameOption("--png", &options.pngDirectory), NameOption("--gif", &gifPath),
                            count("--from", 0, &from), count("--to", 0, &to)}};
    if (const int status = ParseCommandLine(line, argc, argv); status >= 0) return status;
    if (gifPath.empty() && (from >= 0 || to >= 0)) return Fail(kProgram, "--from and --to choose the frames of --gif");
    if (from >= 0) options.gifFrom = from;
    if (to >= 0) options.gifTo = to;
    if (options.gifTo < options.gifFrom) return Fail(kProgram, "--to must not come before --from");
    // A clip cut short by --frames would pass for the whole one asked for.
    if (const int64_t last = to >= 0 ? to : from; last >= options.frames) {
        return Fail(kProgram, std::string(to >= 0 ? "--to " : "--from ") + std::to_string(last) + " is past the run's " +
                                  std::to_string(options.frames) + " frames (raise --frames)");
    }
    if (gifPath == "-" && tracePath == "-") return Fail(kProgram, "--trace and --gif cannot both go to standard output");
    return -1;
}
