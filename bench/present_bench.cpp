// What showing a page costs: the one-pass enlargement of a page (palette, whole factor and
// smooth stretch) into an output of the 4:3 rectangle's size, against a plain copy of that
// many bytes. The ratio is what counts; run both sizes in one run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <random>
#include <vector>

#include "platform/device/present_geometry.h"
#include "platform/sdl/sharp_scale.h"

namespace {

// A page like the game's: areas of one colour with detail scattered over them.
std::vector<uint8_t> MakePage() {
    std::mt19937 random(14);
    std::vector<uint8_t> page(SCREEN_WIDTH * SCREEN_HEIGHT);
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            const bool detail = random() % 4 == 0;
            page[static_cast<size_t>(y * SCREEN_WIDTH + x)] =
                static_cast<uint8_t>(detail ? random() : (x / 40 + y / 30 * 16));
        }
    }
    return page;
}

void BM_Present(benchmark::State& state) {
    const auto screenW = static_cast<int>(state.range(0)), screenH = static_cast<int>(state.range(1));
    const PresentGeometry g = ComputePresentGeometry(screenW, screenH);
    const std::vector<uint8_t> page = MakePage();
    PALETTEENTRY palette[256];
    for (int i = 0; i < 256; ++i) palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0};
    std::vector<uint32_t> out(static_cast<size_t>(g.w) * g.h);
    SharpScaler scaler;
    scaler.SetGeometry(g.factor, g.w, g.h);
    for (auto _ : state) {
        scaler.Present(page.data(), palette, reinterpret_cast<uint8_t*>(out.data()), g.w * sizeof(uint32_t));
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}

void BM_CopyOfTheOutputSize(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(state.range(0)) * state.range(1) * sizeof(uint32_t);
    std::vector<uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

// The 4:3 rectangles of 1920x1080 and 3840x2160 screens.
BENCHMARK(BM_Present)->Args({1440, 1080})->Args({2880, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyOfTheOutputSize)->Args({1440, 1080})->Args({2880, 2160})->Unit(benchmark::kMillisecond);

// Prints, after the table, each size's present time as a multiple of the copy's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            const size_t slash = name.find('/');
            if (run.run_type == Run::RT_Iteration && slash != std::string::npos) {
                (name.compare(0, slash, "BM_Present") == 0 ? present_ : copy_)[name.substr(slash)] =
                    run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [size, time] : present_) {
            if (copy_.count(size) != 0) std::printf("present / copy %s: %.2fx\n", size.c_str(), time / copy_[size]);
        }
    }

private:
    std::map<std::string, double> present_, copy_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
