// What a frame costs, against the floor of copying one page, measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/game.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/page_colours.h"
#include "sim/sim.h"

namespace {

void PageCopy(benchmark::State& state) {
    std::vector<uint8_t> from(SCREEN_WIDTH * SCREEN_HEIGHT, 7), to(SCREEN_WIDTH * SCREEN_HEIGHT);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PageCopy);

void PageCopy32(benchmark::State& state) {
    std::vector<uint32_t> from(SCREEN_WIDTH * SCREEN_HEIGHT, 7), to(SCREEN_WIDTH * SCREEN_HEIGHT);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size() * 4);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PageCopy32);

void PresentPage(benchmark::State& state) {
    std::vector<uint8_t> page(SCREEN_WIDTH * SCREEN_HEIGHT);
    for (size_t i = 0; i < page.size(); ++i) page[i] = static_cast<uint8_t>(i * 7 + i / 640);
    PALETTEENTRY palette[256];
    for (int i = 0; i < 256; ++i) palette[i] = PALETTEENTRY{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0};
    std::vector<uint32_t> out(SCREEN_WIDTH * SCREEN_HEIGHT);
    for (auto _ : state) {
        PageToArgb(page.data(), palette, out.data(), SCREEN_WIDTH * 4);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PresentPage);

// Whole frames of the headless game with no keys: updates, scene, status, flip. A landing
// every ~1200 frames adds its jump setup, a few nanoseconds a frame on average.
void Frame(benchmark::State& state) {
    HeadlessReset();
    HeadlessSetCallLogging(false);
    ResetGameState();
    if (!StartUp()) {
        state.SkipWithError("start-up failed");
        return;
    }
    for (int i = 0; i < 300; ++i) RunFrame();  // well into the jump
    for (auto _ : state) {
        RunFrame();
        HeadlessClearDebugLines();
    }
    MessagePost(HeadlessWindow(), WM_CLOSE, 0, 0);
    PumpMessages();
    HeadlessReset();
}
BENCHMARK(Frame);

void JumpSetup(benchmark::State& state) {
    HeadlessReset();
    HeadlessSetCallLogging(false);
    ResetGameState();
    for (auto _ : state) {
        InitWorld();
        InitAircraftAndDivers();
    }
    HeadlessReset();
}
BENCHMARK(JumpSetup)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
