// The page as the screen shows it: crisp blocks on whole multiples, edges mixed only from
// their own neighbours, nothing written outside the page's rectangle, a new palette at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "platform/sdl/sharp_scale.h"

namespace {

constexpr uint32_t kUntouched = 0xDEADBEEF;

struct Shown {
    int w, h;
    size_t pitchPixels;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * pitchPixels + x]; }
};

class SharpScale : public ::testing::Test {
protected:
    SharpScale() : page(SCREEN_WIDTH * SCREEN_HEIGHT) {
        std::mt19937 random(14);
        for (uint8_t& index : page) index = static_cast<uint8_t>(random());
        for (PALETTEENTRY& e : palette) e = {uint8_t(random()), uint8_t(random()), uint8_t(random()), 0};
    }

    // Presents into a buffer with a gap after every row and a spare row below; wide false
    // asks for the plain build of the row stretch.
    Shown Present(int factor, int w, int h, bool wide = true) {
        Shown shown{w, h, static_cast<size_t>(w) + 5, {}};
        shown.pixels.assign(shown.pitchPixels * static_cast<size_t>(h + 1), kUntouched);
        scaler.AllowWideStretch(wide);
        scaler.SetGeometry(factor, w, h);
        scaler.Present(page.data(), palette, reinterpret_cast<uint8_t*>(shown.pixels.data()),
                       shown.pitchPixels * sizeof(uint32_t));
        return shown;
    }

    uint32_t Colour(int x, int y) const {
        const PALETTEENTRY& e = palette[page[static_cast<size_t>(y) * SCREEN_WIDTH + x]];
        return 0xFF000000u | uint32_t{e.peRed} << 16 | uint32_t{e.peGreen} << 8 | e.peBlue;
    }

    void ExpectNearest(const Shown& shown, int factor) const {
        for (int y = 0; y < shown.h; ++y) {
            for (int x = 0; x < shown.w; ++x) {
                ASSERT_EQ(shown.At(x, y), Colour(x / factor, y / factor)) << x << "," << y << " at " << shown.w;
            }
        }
    }

    std::vector<uint8_t> page;
    PALETTEENTRY palette[256];
    SharpScaler scaler;
};

TEST_F(SharpScale, WholeMultiplesAreExactlyNearest) {
    for (int factor = 1; factor <= 3; ++factor) ExpectNearest(Present(factor, 640 * factor, 480 * factor), factor);
}

// Each channel of an output pixel lies within the page pixels on either side of its centre,
// in both directions; and between blocks some pixels really are mixed.
TEST_F(SharpScale, EdgesMixOnlyTheirNeighbours) {
    struct Size {
        int factor, w, h;
    };
    for (Size s : {Size{2, 1440, 1080}, Size{1, 1024, 768}, Size{1, 800, 600}, Size{3, 2000, 1500}}) {
        const Shown shown = Present(s.factor, s.w, s.h);
        int mixed = 0;
        for (int y = 0; y < s.h; ++y) {
            const int y0 = std::clamp(static_cast<int>((y + 0.5) * SCREEN_HEIGHT / s.h - 0.5), 0, SCREEN_HEIGHT - 1);
            const int y1 = std::min(y0 + 1, SCREEN_HEIGHT - 1);
            for (int x = 0; x < s.w; ++x) {
                const int x0 = std::clamp(static_cast<int>((x + 0.5) * SCREEN_WIDTH / s.w - 0.5), 0, SCREEN_WIDTH - 1);
                const int x1 = std::min(x0 + 1, SCREEN_WIDTH - 1);
                const uint32_t near[4] = {Colour(x0, y0), Colour(x1, y0), Colour(x0, y1), Colour(x1, y1)};
                const uint32_t got = shown.At(x, y);
                for (int shift = 0; shift < 32; shift += 8) {
                    int low = 255, high = 0;
                    for (uint32_t c : near) {
                        low = std::min(low, static_cast<int>(c >> shift & 0xFF));
                        high = std::max(high, static_cast<int>(c >> shift & 0xFF));
                    }
                    const int channel = static_cast<int>(got >> shift & 0xFF);
                    ASSERT_GE(channel, low - 1) << x << "," << y << " at " << s.w << "x" << s.h;
                    ASSERT_LE(channel, high + 1) << x << "," << y << " at " << s.w << "x" << s.h;
                }
                mixed += std::find(std::begin(near), std::end(near), got) == std::end(near);
            }
        }
        EXPECT_GT(mixed, s.w) << s.w << "x" << s.h;
    }
}

// Both builds of the row stretch, on sizes whose rows end inside a store of several pixels.
TEST_F(SharpScale, WritesThePageRectangleAndNothingElse) {
    for (const bool wide : {true, false}) {
        for (const auto& [factor, w, h] : {std::array<int, 3>{2, 1440, 1080}, {1, 1001, 750}, {4, 2570, 1930}}) {
            const Shown shown = Present(factor, w, h, wide);
            for (int y = 0; y <= shown.h; ++y) {
                for (size_t x = 0; x < shown.pitchPixels; ++x) {
                    const bool inside = y < shown.h && x < static_cast<size_t>(shown.w);
                    ASSERT_EQ(shown.pixels[static_cast<size_t>(y) * shown.pitchPixels + x] == kUntouched, !inside)
                        << x << "," << y << " at " << w << "x" << h << (wide ? "" : ", plain build");
                }
            }
        }
    }
}

// Where the machine has the build that stretches eight pixels at a time, it gives the same
// bytes as the plain one, at odd sizes too.
TEST_F(SharpScale, TheWideStretchGivesThePlainStretchsBytes) {
    scaler.AllowWideStretch(true);
    scaler.SetGeometry(2, 1440, 1080);
    if (!scaler.WideStretch()) GTEST_SKIP() << "no wide build of the stretch on this machine";
    for (const auto& [factor, w, h] : {std::array<int, 3>{1, 800, 600}, {1, 1024, 768}, {2, 1440, 1080}, {1, 1001, 750},
                                       {2, 1919, 1079}, {3, 2000, 1500}, {4, 2880, 2160}, {4, 2570, 1930}}) {
        const Shown wide = Present(factor, w, h, true);
        EXPECT_TRUE(scaler.WideStretch()) << w << "x" << h;
        const Shown plain = Present(factor, w, h, false);
        EXPECT_FALSE(scaler.WideStretch());
        EXPECT_TRUE(wide.pixels == plain.pixels) << w << "x" << h;
    }
}

TEST_F(SharpScale, ANewPaletteShowsOnTheNextPresent) {
    Present(2, 1280, 960);
    for (PALETTEENTRY& e : palette) e = {uint8_t(255 - e.peRed), e.peBlue, e.peGreen, 0};
    ExpectNearest(Present(2, 1280, 960), 2);
}

}  // namespace
