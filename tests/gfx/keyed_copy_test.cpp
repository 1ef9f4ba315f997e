// Keyed copies against a pixel-by-pixel reference: spans of every length, rectangles that cut
// through them, pixels and keys that change after a copy, and copies within one surface.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/display.h"
#include "platform/headless/headless.h"

namespace {

intptr_t Procedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return WindowDefaultProcedure(window, message, wParam, lParam);
}

class KeyedCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessReset();
        HeadlessSetCallLogging(false);
        WindowHandle window = WindowCreate("orb", "test", Procedure);
        ASSERT_EQ(DisplayCreate(&device), DD_OK);
        ASSERT_EQ(DisplaySetExclusive(device, window), DD_OK);
        ASSERT_EQ(DisplaySetMode(device, SCREEN_WIDTH, SCREEN_HEIGHT, 8), DD_OK);
        ASSERT_EQ(DisplayCreatePrimary(device, &primary), DD_OK);
        ASSERT_EQ(SurfaceGetBackBuffer(primary, &back), DD_OK);
    }
    void TearDown() override { HeadlessReset(); }

    static std::vector<uint8_t> Read(Surface surface) {
        uint8_t* pixels = nullptr;
        int32_t pitch = 0, width = 0, height = 0;
        EXPECT_EQ(SurfaceLock(surface, &pixels, &pitch, &width, &height), DD_OK);
        std::vector<uint8_t> out;
        for (int32_t y = 0; y < height; ++y) out.insert(out.end(), pixels + y * pitch, pixels + y * pitch + width);
        SurfaceUnlock(surface);
        return out;
    }
    // The first eight pixels of one row of the back buffer.
    std::vector<uint8_t> BackRow(int32_t row) const {
        const std::vector<uint8_t> all = Read(back);
        return {all.begin() + row * SCREEN_WIDTH, all.begin() + row * SCREEN_WIDTH + 8};
    }
    static void Write(Surface surface, const std::vector<uint8_t>& indices) {
        uint8_t* pixels = nullptr;
        int32_t pitch = 0, width = 0, height = 0;
        ASSERT_EQ(SurfaceLock(surface, &pixels, &pitch, &width, &height), DD_OK);
        for (int32_t y = 0; y < height; ++y)
            std::copy_n(indices.begin() + y * width, width, pixels + y * pitch);
        SurfaceUnlock(surface);
    }
    // What a keyed copy must leave: every source pixel outside low..high lands, nothing else moves.
    static void CopyByHand(std::vector<uint8_t>& to, int32_t toWidth, int32_t x, int32_t y,
                           const std::vector<uint8_t>& from, int32_t fromWidth, const RECT& r, int low, int high) {
        for (int32_t row = r.top; row < r.bottom; ++row) {
            for (int32_t col = r.left; col < r.right; ++col) {
                const uint8_t index = from[static_cast<size_t>(row * fromWidth + col)];
                if (index < low || index > high)
                    to[static_cast<size_t>((y + row - r.top) * toWidth + x + col - r.left)] = index;
            }
        }
    }

    DisplayDevice device = nullptr;
    Surface primary = nullptr;
    Surface back = nullptr;
};

// Row r holds opaque spans of growing lengths, starting at 1 + 23r % 200 and wrapping after 200,
// each followed by r % 5 + 1 key pixels: every length up to 200 appears at many offsets.
std::vector<uint8_t> SpanSheet(int32_t width, int32_t height) {
    std::vector<uint8_t> sheet(static_cast<size_t>(width * height), 0);
    for (int32_t y = 0; y < height; ++y) {
        int32_t x = y % 7, length = 1 + y * 23 % 200;
        while (x < width) {
            for (int32_t i = 0; i < length && x < width; ++i, ++x)
                sheet[static_cast<size_t>(y * width + x)] = static_cast<uint8_t>(10 + (x * 7 + y) % 240);
            x += y % 5 + 1;
            length = length % 200 + 1;
        }
    }
    return sheet;
}

TEST_F(KeyedCopyTest, EverySpanLengthAndCutMatchesAPixelByPixelCopy) {
    constexpr int32_t W = 640, H = 64;
    Surface sheet = nullptr;
    ASSERT_EQ(DisplayCreateOffscreen(device, W, H, &sheet), DD_OK);
    const std::vector<uint8_t> pixels = SpanSheet(W, H);
    Write(sheet, pixels);
    ASSERT_EQ(SurfaceSetColorKey(sheet, 0, 0), DD_OK);
    ASSERT_EQ(SurfaceFill(back, 3), DD_OK);
    std::vector<uint8_t> expected(SCREEN_WIDTH * SCREEN_HEIGHT, 3);

    std::mt19937 random(7);
    for (int i = 0; i < 400; ++i) {
        const int32_t left = static_cast<int32_t>(random() % W), top = static_cast<int32_t>(random() % H);
        const RECT r{left, top, left + 1 + static_cast<int32_t>(random() % (W - left)),
                     top + 1 + static_cast<int32_t>(random() % (H - top))};
        const auto x = static_cast<uint32_t>(random() % (SCREEN_WIDTH - (r.right - r.left) + 1));
        const auto y = static_cast<uint32_t>(random() % (SCREEN_HEIGHT - (r.bottom - r.top) + 1));
        ASSERT_EQ(SurfaceBltFast(back, x, y, sheet, &r), DD_OK);
        CopyByHand(expected, SCREEN_WIDTH, static_cast<int32_t>(x), static_cast<int32_t>(y), pixels, W, r, 0, 0);
        // Every rectangle twice: once working out its spans, once from what was kept.
        ASSERT_EQ(SurfaceBltFast(back, x, y, sheet, &r), DD_OK);
        ASSERT_EQ(Read(back), expected) << "copy " << i << " of " << r.left << "," << r.top << "," << r.right << ","
                                        << r.bottom << " to " << x << "," << y;
    }
}

TEST_F(KeyedCopyTest, CopiesStayRightWhenTheKeptSpansOutgrowTheirBudgetAndStartAgain) {
    Surface sheet = nullptr;
    ASSERT_EQ(DisplayCreateOffscreen(device, SCREEN_WIDTH, SCREEN_HEIGHT, &sheet), DD_OK);
    std::vector<uint8_t> pixels(SCREEN_WIDTH * SCREEN_HEIGHT);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i + i / SCREEN_WIDTH) % 2 != 0 ? 5 : 0;  // a checkerboard
    Write(sheet, pixels);
    ASSERT_EQ(SurfaceSetColorKey(sheet, 0, 0), DD_OK);
    // 153,600 one-pixel spans a rectangle: the eighth goes past a million.
    for (int32_t i = 0; i < 10; ++i) {
        const RECT r{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT - i};
        ASSERT_EQ(SurfaceFill(back, 3), DD_OK);
        std::vector<uint8_t> expected(SCREEN_WIDTH * SCREEN_HEIGHT, 3);
        CopyByHand(expected, SCREEN_WIDTH, 0, 0, pixels, SCREEN_WIDTH, r, 0, 0);
        ASSERT_EQ(SurfaceBltFast(back, 0, 0, sheet, &r), DD_OK);
        ASSERT_EQ(Read(back), expected) << "rectangle " << i;
    }
}

TEST_F(KeyedCopyTest, NewPixelsAndANewKeyTakeEffectAtTheNextCopy) {
    Surface sheet = nullptr;
    ASSERT_EQ(DisplayCreateOffscreen(device, 8, 1, &sheet), DD_OK);
    Write(sheet, {0, 1, 2, 3, 4, 5, 6, 7});
    ASSERT_EQ(SurfaceSetColorKey(sheet, 0, 0), DD_OK);
    const RECT all{0, 0, 8, 1};
    ASSERT_EQ(SurfaceFill(back, 9), DD_OK);
    ASSERT_EQ(SurfaceBltFast(back, 0, 0, sheet, &all), DD_OK);
    EXPECT_EQ(BackRow(0),
              (std::vector<uint8_t>{9, 1, 2, 3, 4, 5, 6, 7}));

    Write(sheet, {7, 0, 0, 4, 0, 0, 0, 1});
    ASSERT_EQ(SurfaceFill(back, 9), DD_OK);
    ASSERT_EQ(SurfaceBltFast(back, 0, 0, sheet, &all), DD_OK);
    EXPECT_EQ(BackRow(0),
              (std::vector<uint8_t>{7, 9, 9, 4, 9, 9, 9, 1}));

    ASSERT_EQ(SurfaceSetColorKey(sheet, 1, 4), DD_OK);
    ASSERT_EQ(SurfaceFill(back, 9), DD_OK);
    ASSERT_EQ(SurfaceBltFast(back, 0, 0, sheet, &all), DD_OK);
    EXPECT_EQ(BackRow(0),
              (std::vector<uint8_t>{7, 0, 0, 9, 0, 0, 0, 9}));

    // A copy into a surface changes what later copies from it take.
    Surface middle = nullptr;
    ASSERT_EQ(DisplayCreateOffscreen(device, 8, 1, &middle), DD_OK);
    ASSERT_EQ(SurfaceSetColorKey(middle, 0, 0), DD_OK);
    ASSERT_EQ(SurfaceBltFast(back, 0, 1, middle, &all), DD_OK);  // all key: nothing lands
    ASSERT_EQ(SurfaceBltFast(middle, 0, 0, sheet, &all), DD_OK);
    ASSERT_EQ(SurfaceBltFast(back, 0, 1, middle, &all), DD_OK);
    EXPECT_EQ(BackRow(1),
              (std::vector<uint8_t>{7, 9, 9, 9, 9, 9, 9, 9}));
}

TEST_F(KeyedCopyTest, PixelsWrittenThroughALockShowInTheNextKeyedCopy) {
    Surface sheet = nullptr;
    ASSERT_EQ(DisplayCreateOffscreen(device, 4, 1, &sheet), DD_OK);
    Write(sheet, {5, 0, 0, 0});
    ASSERT_EQ(SurfaceSetColorKey(sheet, 0, 0), DD_OK);
    const RECT all{0, 0, 4, 1};
    uint8_t* pixels = nullptr;
    int32_t pitch = 0, width = 0, height = 0;
    ASSERT_EQ(SurfaceLock(sheet, &pixels, &pitch, &width, &height), DD_OK);
    ASSERT_EQ(SurfaceBltFast(back, 0, 0, sheet, &all), DD_OK);  // a copy while the lock is held
    pixels[1] = 6;
    pixels[2] = 7;
    pixels[3] = 8;
    ASSERT_EQ(SurfaceUnlock(sheet), DD_OK);
    ASSERT_EQ(SurfaceFill(back, 9), DD_OK);
    ASSERT_EQ(SurfaceBltFast(back, 0, 0, sheet, &all), DD_OK);
    EXPECT_EQ(BackRow(0), (std::vector<uint8_t>{5, 6, 7, 8, 9, 9, 9, 9}));
}

// An empty rectangle is refused, keyed or not, even where an empty copy would fit (x = 640).
TEST_F(KeyedCopyTest, AnEmptyRectangleIsRefusedAndLeavesThePageAlone) {
    Surface sheet = nullptr;
    ASSERT_EQ(DisplayCreateOffscreen(device, 16, 8, &sheet), DD_OK);
    ASSERT_EQ(SurfaceFill(sheet, 7), DD_OK);
    ASSERT_EQ(SurfaceFill(back, 3), DD_OK);
    for (bool keyed : {false, true}) {
        if (keyed) {
            ASSERT_EQ(SurfaceSetColorKey(sheet, 0, 0), DD_OK);
        }
        for (const RECT& r : {RECT{4, 2, 4, 6}, RECT{4, 2, 9, 2}, RECT{4, 2, 4, 2}}) {
            for (auto [x, y] : {std::pair{0u, 0u}, {640u, 0u}, {640u, 479u}, {5u, 5u}})
                EXPECT_EQ(SurfaceBltFast(back, x, y, sheet, &r), DDERR_INVALIDRECT) << keyed << " at " << x;
        }
    }
    EXPECT_EQ(Read(back), std::vector<uint8_t>(SCREEN_WIDTH * SCREEN_HEIGHT, 3));
}

TEST_F(KeyedCopyTest, ACopyWithinOneSurfaceTakesTheSourceAsItWasBefore) {
    constexpr int32_t W = 96, H = 40;
    for (bool keyed : {false, true}) {
        Surface surface = nullptr;
        ASSERT_EQ(DisplayCreateOffscreen(device, W, H, &surface), DD_OK);
        const std::vector<uint8_t> before = SpanSheet(W, H);
        Write(surface, before);
        if (keyed) {
            ASSERT_EQ(SurfaceSetColorKey(surface, 0, 0), DD_OK);
        }
        const RECT r{2, 3, 90, 35};
        for (auto [x, y] : {std::pair{3u, 4u}, {1u, 2u}, {2u, 3u}}) {  // down-right, up-left, onto itself
            std::vector<uint8_t> expected = Read(surface);
            const std::vector<uint8_t> source = expected;
            // Without a key the range 1..0 leaves nothing out.
            CopyByHand(expected, W, static_cast<int32_t>(x), static_cast<int32_t>(y), source, W, r, keyed ? 0 : 1, 0);
            ASSERT_EQ(SurfaceBltFast(surface, x, y, surface, &r), DD_OK);
            EXPECT_EQ(Read(surface), expected) << (keyed ? "keyed " : "plain ") << x << "," << y;
        }
        ASSERT_EQ(SurfaceRelease(surface), DD_OK);
    }
}

// The pages against a model kept by hand through a random mix of fills, opaque and keyed
// copies, copies out of the back buffer into another surface, flips and reads: the kept spans
// and the swapped pages must never show anything the model does not.
TEST_F(KeyedCopyTest, FillsCopiesAndFlipsShowWhatAModelOfThemShows) {
    // The sheet's left half is opaque, its right half has holes; plain has no key at all.
    constexpr int32_t SW = 256, SH = 128;
    Surface sheet = nullptr, plain = nullptr;
    ASSERT_EQ(DisplayCreateOffscreen(device, SW, SH, &sheet), DD_OK);
    ASSERT_EQ(DisplayCreateOffscreen(device, SW, SH, &plain), DD_OK);
    std::vector<uint8_t> sheetPixels(SW * SH), plainPixels(SW * SH);
    for (int32_t y = 0; y < SH; ++y) {
        for (int32_t x = 0; x < SW; ++x) {
            const bool hole = x >= SW / 2 && (x * 3 + y) % 7 < 3;
            sheetPixels[static_cast<size_t>(y * SW + x)] = hole ? 0 : static_cast<uint8_t>(20 + (x + 5 * y) % 200);
            plainPixels[static_cast<size_t>(y * SW + x)] = static_cast<uint8_t>((x * y) % 256);
        }
    }
    Write(sheet, sheetPixels);
    Write(plain, plainPixels);
    ASSERT_EQ(SurfaceSetColorKey(sheet, 0, 0), DD_OK);

    std::vector<uint8_t> modelBack(SCREEN_WIDTH * SCREEN_HEIGHT, 0), modelFront = modelBack;
    std::mt19937 random(11);
    auto randomRect = [&](bool opaqueHalf) {
        const int32_t w = 1 + static_cast<int32_t>(random() % (SW / 2));
        const int32_t h = 1 + static_cast<int32_t>(random() % SH);
        const int32_t left = (opaqueHalf ? 0 : SW / 2) + static_cast<int32_t>(random() % (SW / 2 - w + 1));
        const int32_t top = static_cast<int32_t>(random() % (SH - h + 1));
        return RECT{left, top, left + w, top + h};
    };
    auto randomPlace = [&](const RECT& r, int32_t width, int32_t height) {
        return std::pair<uint32_t, uint32_t>{static_cast<uint32_t>(random() % (width - (r.right - r.left) + 1)),
                                             static_cast<uint32_t>(random() % (height - (r.bottom - r.top) + 1))};
    };
    for (int step = 0; step < 3000; ++step) {
        const unsigned roll = random() % 100;
        if (roll < 8) {
            const auto index = static_cast<uint8_t>(random() % 4);
            ASSERT_EQ(SurfaceFill(back, index), DD_OK);
            std::fill(modelBack.begin(), modelBack.end(), index);
        } else if (roll < 60) {
            const bool opaque = random() % 2 == 0;
            const RECT r = randomRect(opaque);
            const auto [x, y] = randomPlace(r, SCREEN_WIDTH, SCREEN_HEIGHT);
            ASSERT_EQ(SurfaceBltFast(back, x, y, sheet, &r), DD_OK);
            CopyByHand(modelBack, SCREEN_WIDTH, static_cast<int32_t>(x), static_cast<int32_t>(y), sheetPixels, SW, r,
                       0, 0);
        } else if (roll < 75) {
            const RECT r = randomRect(random() % 2 == 0);
            const auto [x, y] = randomPlace(r, SCREEN_WIDTH, SCREEN_HEIGHT);
            ASSERT_EQ(SurfaceBltFast(back, x, y, plain, &r), DD_OK);
            CopyByHand(modelBack, SCREEN_WIDTH, static_cast<int32_t>(x), static_cast<int32_t>(y), plainPixels, SW, r,
                       1, 0);
        } else if (roll < 82) {
            // Out of the back buffer into plain, and plain's model with it.
            const RECT target = randomRect(true);
            const int32_t w = target.right - target.left, h = target.bottom - target.top;
            const auto [x, y] = randomPlace(target, SCREEN_WIDTH, SCREEN_HEIGHT);
            const RECT r{static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(x) + w,
                         static_cast<int32_t>(y) + h};
            ASSERT_EQ(SurfaceBltFast(plain, static_cast<uint32_t>(target.left), static_cast<uint32_t>(target.top),
                                     back, &r),
                      DD_OK);
            CopyByHand(plainPixels, SW, target.left, target.top, modelBack, SCREEN_WIDTH, r, 1, 0);
        } else if (roll < 92) {
            ASSERT_EQ(SurfaceFlip(primary), DD_OK);
            std::swap(modelBack, modelFront);
            ASSERT_TRUE(std::equal(modelFront.begin(), modelFront.end(), HeadlessVisiblePage())) << "step " << step;
        } else {
            ASSERT_EQ(Read(back), modelBack) << "step " << step;
        }
    }
    ASSERT_EQ(Read(back), modelBack);
    ASSERT_EQ(Read(plain), plainPixels);
}

}  // namespace
