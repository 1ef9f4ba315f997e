// What a frame costs, against the floor of copying one page, measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "app/game.h"
#include "platform/device/page_colours.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
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

// The headless game, started and some way into its first jump; false if it would not start.
bool GameAtFrame(int frames) {
    HeadlessReset();
    HeadlessSetCallLogging(false);
    ResetGameState();
    if (!StartUp()) return false;
    for (int i = 0; i < frames; ++i) RunFrame();
    return true;
}

void EndGame() {
    MessagePost(HeadlessWindow(), WM_CLOSE, 0, 0);
    PumpMessages();
    HeadlessReset();
}

// A mid-jump page as the screen shows it.
void PresentPage(benchmark::State& state) {
    if (!GameAtFrame(300)) {
        state.SkipWithError("start-up failed");
        return;
    }
    std::vector<uint8_t> page(HeadlessVisiblePage(), HeadlessVisiblePage() + SCREEN_WIDTH * SCREEN_HEIGHT);
    PALETTEENTRY palette[256];
    std::copy(HeadlessPalette(), HeadlessPalette() + 256, palette);
    EndGame();
    auto out = AlignedPage<uint32_t>(0);
    PageColours colours;
    for (auto _ : state) {
        colours.Convert(page.data(), palette, out.get(), SCREEN_WIDTH * 4);
        benchmark::DoNotOptimize(out.get());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PresentPage);

// Whole frames of the headless game with no keys (updates, scene, status, flip) in the middle
// of the first jump: frames 300 to 799, all of them in free fall, the same frames each run.
void Frame(benchmark::State& state) {
    if (!GameAtFrame(300)) {
        state.SkipWithError("start-up failed");
        return;
    }
    for (auto _ : state) {
        RunFrame();
        HeadlessClearDebugLines();
    }
    EndGame();
}
BENCHMARK(Frame)->Iterations(500)->Repetitions(5);

void JumpSetup(benchmark::State& state) {
    HeadlessReset();
    HeadlessSetCallLogging(false);
    ResetGameState();
    for (auto _ : state) {
        SetUpJump();
    }
    HeadlessReset();
}
BENCHMARK(JumpSetup)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
