// What a frame costs, against the floor of copying one page, measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "app/game.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/page_colours.h"
#include "sim/sim.h"

namespace {

// The floor is a page copy between page-aligned buffers, as the display's own pages are. With
// the destination a few bytes past the source modulo 4 KiB, glibc's memcpy runs 20 times
// slower on some AMD processors, and such a floor would flatter everything measured against it.
template <typename Pixel>
std::unique_ptr<Pixel[], decltype(&std::free)> AlignedPage(Pixel value) {
    constexpr size_t bytes = sizeof(Pixel) * SCREEN_WIDTH * SCREEN_HEIGHT;
    auto* pixels = static_cast<Pixel*>(std::aligned_alloc(4096, bytes));
    std::fill(pixels, pixels + SCREEN_WIDTH * SCREEN_HEIGHT, value);
    return {pixels, &std::free};
}

template <typename Pixel>
void CopyOnePage(benchmark::State& state) {
    auto from = AlignedPage<Pixel>(7);
    auto to = AlignedPage<Pixel>(0);
    for (auto _ : state) {
        std::memcpy(to.get(), from.get(), sizeof(Pixel) * SCREEN_WIDTH * SCREEN_HEIGHT);
        benchmark::DoNotOptimize(to.get());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(CopyOnePage<uint8_t>)->Name("PageCopy");
BENCHMARK(CopyOnePage<uint32_t>)->Name("PageCopy32");

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
