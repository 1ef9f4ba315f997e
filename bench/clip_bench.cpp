// A 20 s clip of a jump shared as one GIF, against the same frames as PNG pictures.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/game.h"
#include "platform/headless/headless.h"
#include "sim/sim.h"
#include "tools/replay/gif.h"
#include "formats/page_png.h"
#include "tools/replay/replay.h"

namespace {

constexpr int kFirstFrame = 80;  // the player leaves the aircraft
constexpr int kClipFrames = 400;

struct Shown {
    std::vector<uint8_t> page;
    std::array<PALETTEENTRY, 256> palette;
};

// The pages of the clip: a jump with turns and a dive, as the game showed them.
const std::vector<Shown>& Clip() {
    static const std::vector<Shown> clip = [] {
        std::vector<Shown> pages;
        HeadlessReset();
        HeadlessSetCallLogging(false);
        ResetGameState();
        if (!StartUp()) return pages;
        const std::vector<ScriptEvent> events{{90, ScriptAction::KeyDown, 37},  {110, ScriptAction::KeyUp, 37},
                                              {150, ScriptAction::KeyDown, 40}, {230, ScriptAction::KeyUp, 40},
                                              {260, ScriptAction::KeyDown, 39}, {300, ScriptAction::KeyUp, 39},
                                              {380, ScriptAction::KeyDown, 40}, {420, ScriptAction::KeyUp, 40}};
        size_t next = 0;
        for (int frame = 0; frame < kFirstFrame + kClipFrames; ++frame) {
            for (; next < events.size() && events[next].frame == frame; ++next) PostScriptEvent(events[next]);
            RunFrame();
            if (frame < kFirstFrame) continue;
            Shown shown{std::vector<uint8_t>(HeadlessVisiblePage(), HeadlessVisiblePage() + SCREEN_WIDTH * SCREEN_HEIGHT), {}};
            std::copy(HeadlessPalette(), HeadlessPalette() + 256, shown.palette.begin());
            pages.push_back(std::move(shown));
        }
        CloseReplayedGame();
        return pages;
    }();
    return clip;
}

struct TempDir {
    std::filesystem::path path = std::filesystem::temp_directory_path() / ("skyring-clip-bench-" + std::to_string(getpid()));
    TempDir() { std::filesystem::create_directories(path); }
    ~TempDir() { std::filesystem::remove_all(path); }
};

void Report(benchmark::State& state, uintmax_t bytes) {
    state.counters["frames/s"] = benchmark::Counter(double(kClipFrames) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["MB"] = double(bytes) / 1e6;
}

void ClipAsGif(benchmark::State& state) {
    const auto& clip = Clip();
    if (clip.size() != kClipFrames) return state.SkipWithError("the game did not start");
    TempDir dir;
    const std::string path = (dir.path / "clip.gif").string();
    for (auto _ : state) {
        GifClip gif;
        std::string error;
        bool ok = gif.Open(path, &error);
        for (const Shown& shown : clip) ok = ok && gif.AddPage(shown.page.data(), shown.palette.data(), &error);
        if (!ok || !gif.Commit(&error)) return state.SkipWithError(error.c_str());
    }
    Report(state, std::filesystem::file_size(path));
}
BENCHMARK(ClipAsGif)->Unit(benchmark::kMillisecond)->Iterations(3);

void ClipAsPngs(benchmark::State& state) {
    const auto& clip = Clip();
    if (clip.size() != kClipFrames) return state.SkipWithError("the game did not start");
    TempDir dir;
    uintmax_t bytes = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < clip.size(); ++i) {
            std::string error;
            const std::string path = (dir.path / ("frame-" + std::to_string(i) + ".png")).string();
            if (!WritePagePng(path, clip[i].page.data(), clip[i].palette.data(), &error)) {
                return state.SkipWithError(error.c_str());
            }
        }
    }
    for (const auto& file : std::filesystem::directory_iterator(dir.path)) bytes += file.file_size();
    Report(state, bytes);
}
BENCHMARK(ClipAsPngs)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
