// Loading the palette and the sheet from a bitmap resource, good and bad.
#include <gtest/gtest.h>

#include <cstring>

#include "gfx/display.h"
#include "gfx/sheet.h"
#include "platform/headless/headless.h"
#include "tests/gfx/bitmap_builder.h"
#include "tests/gfx/display_fixture.h"

namespace {

class SheetTest : public HeadlessDisplayTest {
protected:
    void SetUp() override {
        HeadlessDisplayTest::SetUp();
        ASSERT_EQ(InitDirectDraw(window, 640, 480, 640, 640), 1);
        for (PALETTEENTRY& e : PaletteEntries) e = PALETTEENTRY{1, 2, 3, 4};
    }
    void Supply(const std::vector<uint8_t>& bytes) { HeadlessSetResource("BITMAP", "BITMAP", bytes); }
    // The sheet surface's index at (x, y).
    static uint8_t SheetAt(int32_t x, int32_t y) {
        uint8_t* pixels = nullptr;
        int32_t pitch = 0, w = 0, h = 0;
        EXPECT_EQ(SurfaceLock(Display.SheetSurface, &pixels, &pitch, &w, &h), 0u);
        const uint8_t value = pixels[y * pitch + x];
        SurfaceUnlock(Display.SheetSurface);
        return value;
    }
};

TEST_F(SheetTest, PaletteTakesTheColourCountAndClearsTheFlags) {
    struct Case {
        uint16_t bitCount;
        uint32_t clrUsed;
        uint32_t changed;
    };
    for (Case c : {Case{8, 256, 256}, Case{8, 0, 256}, Case{4, 0, 16}, Case{8, 20, 20}}) {
        for (PALETTEENTRY& e : PaletteEntries) e = PALETTEENTRY{1, 2, 3, 4};
        BitmapSpec spec;
        spec.bitCount = c.bitCount;
        spec.clrUsed = c.clrUsed;
        spec.colourTableEntries = c.changed;
        spec.width = 16;
        spec.height = 16;
        Supply(MakePackedBitmap(spec));
        ASSERT_EQ(InitPalette("BITMAP"), 1) << c.bitCount << "/" << c.clrUsed;
        for (uint32_t i = 0; i < 256; ++i) {
            const PALETTEENTRY e = PaletteEntries[i];
            if (i < c.changed) {
                const uint32_t rgb = spec.colour(i);
                EXPECT_EQ(e.peRed, static_cast<uint8_t>(rgb >> 16));
                EXPECT_EQ(e.peGreen, static_cast<uint8_t>(rgb >> 8));
                EXPECT_EQ(e.peBlue, static_cast<uint8_t>(rgb));
                EXPECT_EQ(e.peFlags, 0);
            } else {
                EXPECT_EQ(e.peRed, 1) << "entry " << i << " must keep its colour";
                EXPECT_EQ(e.peFlags, 4);
            }
        }
        // The screen's palette takes the same colours at once.
        EXPECT_EQ(std::memcmp(HeadlessPalette(), PaletteEntries, c.changed * sizeof(PALETTEENTRY)), 0);
    }
    EXPECT_TRUE(HeadlessDebugLines().empty());
}

TEST_F(SheetTest, RowsStoredBottomUpArriveTopDownAndIndexZeroBecomesTheKey) {
    Supply(MakePackedBitmap(BitmapSpec{}));
    ASSERT_EQ(InitBitmap("BITMAP", 640, 640), 1);
    EXPECT_EQ(HeadlessCallLog().back(), "SurfaceSetColorKey offscreen");
    const std::vector<uint8_t> bytes = MakePackedBitmap(BitmapSpec{});
    // The first stored pixel is the picture's bottom-left; the last stored row is the top one.
    EXPECT_EQ(SheetAt(0, 0), bytes[40 + 1024 + 639 * 640]);
    EXPECT_EQ(SheetAt(0, 639), bytes[40 + 1024]);
    for (auto [x, y] : {std::pair{0, 0}, {5, 1}, {639, 0}, {0, 639}, {321, 477}}) {
        EXPECT_EQ(SheetAt(x, y), static_cast<uint8_t>((x + 3 * y) & 0xFF));
    }

    BitmapSpec topDown;
    topDown.height = -640;
    Supply(MakePackedBitmap(topDown));
    ASSERT_EQ(InitBitmap("BITMAP", 640, 640), 1);
    EXPECT_EQ(SheetAt(7, 2), static_cast<uint8_t>(7 + 6));
}

TEST_F(SheetTest, RowsOfAWidthThatIsNoMultipleOfFourSkipTheirPadding) {
    for (int32_t height : {3, -3}) {
        BitmapSpec spec;
        spec.width = 13;
        spec.height = height;
        Supply(MakePackedBitmap(spec));
        ASSERT_EQ(InitBitmap("BITMAP", 13, 3), 1);
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < 13; ++x) EXPECT_EQ(SheetAt(x, y), spec.pixel(x, y)) << height << ": " << x << "," << y;
        }
    }
}

TEST_F(SheetTest, EachFailingStepWritesItsLine) {
    struct Case {
        bool palette;
        const char* operation;
        const char* line;
    };
    for (Case c : {Case{true, "ResourceFind", "Palette Init Failed at 123"},
                   Case{true, "ResourceLoad", "Palette Init Failed at 129"},
                   Case{true, "PaletteSetEntries", "Palette Init Failed at 149"},
                   Case{false, "ResourceFind", "Bitmap Init Failed at 173"},
                   Case{false, "ResourceLoad", "Bitmap Init Failed at 173"},
                   Case{false, "SurfaceLock", "Bitmap Init Failed at 182"},
                   Case{false, "SurfaceUnlock", "Bitmap Init Failed at 187"},
                   Case{false, "SurfaceSetColorKey", "Bitmap Init Failed at 198"}}) {
        Supply(MakePackedBitmap(BitmapSpec{}));
        HeadlessClearDebugLines();
        HeadlessFailCall(c.operation, 1, 0x88760001);
        const int result = c.palette ? InitPalette("BITMAP") : InitBitmap("BITMAP", 640, 640);
        EXPECT_EQ(result, 0) << c.line;
        EXPECT_EQ(HeadlessDebugLines(), std::vector<std::string>{c.line});
    }
}

TEST_F(SheetTest, AMissingResourceFailsAtTheFirstStep) {
    HeadlessHideResource("BITMAP", "BITMAP");
    EXPECT_EQ(InitPalette("BITMAP"), 0);
    EXPECT_EQ(InitBitmap("BITMAP", 640, 640), 0);
    EXPECT_EQ(HeadlessDebugLines(),
              (std::vector<std::string>{"Palette Init Failed at 123", "Bitmap Init Failed at 173"}));
}

// Bitmaps that lie about their sizes are refused whole: no entry and no pixel changes.
TEST_F(SheetTest, MalformedBitmapsAreRefusedWithoutTouchingAnything) {
    const std::vector<uint8_t> good = MakePackedBitmap(BitmapSpec{});
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool paletteFails;
    };
    auto with32 = [&](size_t at, uint32_t v) {
        std::vector<uint8_t> b = good;
        Put32(b, at, v);
        return b;
    };
    auto cut = [&](size_t size) { return std::vector<uint8_t>(good.begin(), good.begin() + size); };
    BitmapSpec bits24;
    bits24.bitCount = 24;
    bits24.clrUsed = 0;
    bits24.colourTableEntries = 0;
    bits24.width = 4;
    bits24.height = 4;
    const std::vector<Case> cases{
        {"empty", {}, true},
        {"header cut short", cut(39), true},
        {"biSize below a header", with32(0, 12), true},
        {"biSize past the end", with32(0, 500000), true},
        {"colour table past the end", cut(40 + 1000), true},
        {"more than 256 colours", with32(32, 257), true},
        {"huge colour count", with32(32, 0x40000000), true},
        {"no table for 24 bits", MakePackedBitmap(bits24), true},
        {"rows past the end", cut(good.size() - 1), false},
        {"compressed", with32(16, 1), false},
        {"negative width", with32(4, static_cast<uint32_t>(-640)), false},
        {"height of INT32_MIN", with32(8, 0x80000000u), false},
        {"huge width", with32(4, 0x7FFFFFFF), false},
    };
    for (const Case& c : cases) {
        for (PALETTEENTRY& e : PaletteEntries) e = PALETTEENTRY{1, 2, 3, 4};
        Supply(c.bytes);
        HeadlessClearDebugLines();
        EXPECT_EQ(InitPalette("BITMAP"), c.paletteFails ? 0 : 1) << c.what;
        EXPECT_EQ(InitBitmap("BITMAP", 640, 640), 0) << c.what;
        EXPECT_EQ(HeadlessDebugLines().back(), "Bitmap Init Failed at 173") << c.what;
        if (c.paletteFails) {
            EXPECT_EQ(HeadlessDebugLines().front(), "Palette Init Failed at 129") << c.what;
            EXPECT_EQ(PaletteEntries[0].peRed, 1) << c.what;
        }
        EXPECT_EQ(SheetAt(0, 0), 0) << c.what;
    }
}

TEST_F(SheetTest, LoadingTwiceGivesTheSameSheet) {
    Supply(MakePackedBitmap(BitmapSpec{}));
    ASSERT_EQ(InitBitmap("BITMAP", 640, 640), 1);
    const uint8_t before = SheetAt(100, 200);
    ASSERT_EQ(InitBitmap("BITMAP", 640, 640), 1);
    EXPECT_EQ(SheetAt(100, 200), before);
}

}  // namespace
