// skyring-soak: plays the game headless for a long time on random input from a seed and
// stops at the first frame that leaves the game's state out of its promised ranges.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "shell/command_line.h"
#include "tools/soak/soak.h"

namespace {

const char kProgram[] = "skyring-soak";
const char kUsage[] =
    "usage: skyring-soak [--frames N] [--seed S] [--script-out FILE]\n"
    "  --frames N        frames to run (default 100000; 20 frames are one second of play)\n"
    "  --seed S          seed of the random input (default 1); the same seed, the same run\n"
    "  --script-out FILE write the input given as a skyring-replay script, to replay a failure\n";

bool ParseNumber(const char* text, uint64_t min, uint64_t max, uint64_t* value) {
    if (text[0] < '0' || text[0] > '9') return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < min || parsed > max) return false;
    *value = parsed;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t frames = 100000, seed = 1;
    std::string scriptPath;
    const auto number = [](const char* name, uint64_t min, uint64_t max, uint64_t* value) {
        return CommandLine::Option{name, [=](const char* text, std::string* error) {
                                       if (ParseNumber(text, min, max, value)) return true;
                                       *error = std::string(name) + " needs a number " + std::to_string(min) + ".." +
                                                std::to_string(max);
                                       return false;
                                   }};
    };
    // Script frames are limited to 2^31 - 1.
    const CommandLine line{kProgram, kUsage, nullptr,
                           {number("--frames", 1, 2147483647, &frames), number("--seed", 0, UINT64_MAX, &seed),
                            NameOption("--script-out", &scriptPath)}};
    if (const int status = ParseCommandLine(line, argc, argv); status >= 0) return status;
    const auto started = std::chrono::steady_clock::now();
    const SoakResult result = RunSoak(seed, static_cast<int64_t>(frames));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!scriptPath.empty()) {
        std::ofstream script(scriptPath, std::ios::binary | std::ios::trunc);
        if (script) WriteScript(result.events, script);
        if (!script) return Fail(kProgram, scriptPath + ": could not be written");
    }
    if (!result.started) return Fail(kProgram, result.violation);
    if (result.violationFrame >= 0) {
        std::fprintf(stderr, "skyring-soak: frame %lld, seed %llu: %s\n", static_cast<long long>(result.violationFrame),
                     static_cast<unsigned long long>(seed), result.violation.c_str());
        return 1;
    }
    const SoakStats& s = result.stats;
    std::printf("skyring-soak: %lld frames, seed %llu: every invariant held\n",
                static_cast<long long>(result.framesRun), static_cast<unsigned long long>(seed));
    std::printf("  %lld landings, %lld crashes, %lld canopy collisions, %lld reactivations\n",
                static_cast<long long>(s.landings), static_cast<long long>(s.crashes),
                static_cast<long long>(s.canopyCollisions), static_cast<long long>(s.activations));
    std::printf("  largest formation %d, most balloons %d, most catches %d in one jump\n", s.largestFormation,
                s.mostBalloons, s.mostCatches);
    std::printf("  %.1f s, %.0f frames per second\n", seconds, static_cast<double>(result.framesRun) / seconds);
    return 0;
}
