// Keyed copies, fills and flips as the screen shows them.
#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/display.h"
#include "gfx/draw.h"
#include "gfx/sheet.h"
#include "platform/headless/headless.h"
#include "tests/gfx/bitmap_builder.h"
#include "tests/gfx/display_fixture.h"

namespace {

// Sheet: a 64x64 block of index 7 at (0,0) with a transparent hole at (10,10); a 64x64
// block of index 9 at (64,0); an all-transparent block at (128,0).
uint8_t SheetPixel(int32_t x, int32_t y) {
    if (y >= 64) return 0;
    if (x < 64) return (x == 10 && y == 10) ? 0 : 7;
    if (x < 128) return 9;
    return 0;
}

class DrawTest : public HeadlessDisplayTest {
protected:
    void SetUp() override {
        HeadlessDisplayTest::SetUp();
        BitmapSpec spec;
        spec.pixel = SheetPixel;
        HeadlessSetResource("BITMAP", "BITMAP", MakePackedBitmap(spec));
        ASSERT_EQ(InitDirectDraw(window, 640, 480, 640, 640), 1);
        ASSERT_EQ(InitPalette("BITMAP"), 1);
        ASSERT_EQ(InitBitmap("BITMAP", 640, 640), 1);
        ClearScreen();
        HeadlessClearDebugLines();
    }
    // What the back buffer holds, seen by flipping it to the front.
    const uint8_t* ShowBackBuffer() {
        Flip();
        return HeadlessVisiblePage();
    }
    static uint8_t At(const uint8_t* page, int x, int y) { return page[y * 640 + x]; }

    const RECT block7{0, 0, 64, 64};
    const RECT block9{64, 0, 128, 64};
    const RECT clear{128, 0, 192, 64};
};

TEST_F(DrawTest, APictureIsDrawnOnlyWhenItLiesWhollyOnTheScreen) {
    PutBitmap(576, 416, &block7);
    EXPECT_TRUE(HeadlessDebugLines().empty());
    for (auto [x, y] : {std::pair{577, 416}, {576, 417}, {-1, 0}, {0, -1}, {0, 448}}) {
        HeadlessClearDebugLines();
        PutBitmap(x, y, &block9);
        EXPECT_EQ(HeadlessDebugLines(), std::vector<std::string>{"PutBitmap Failed at 218 error_code=88760096\n"})
            << x << "," << y;
    }
    const uint8_t* page = ShowBackBuffer();
    EXPECT_EQ(At(page, 576, 416), 7);
    EXPECT_EQ(At(page, 639, 479), 7);
    EXPECT_EQ(std::count(page, page + 640 * 480, 9), 0);  // no refused copy drew anything
}

TEST_F(DrawTest, IndexZeroIsTransparentAndLaterPicturesCoverEarlierOnes) {
    PutBitmap(100, 100, &block9);
    PutBitmap(100, 100, &block7);  // its hole at (10,10) shows the 9 beneath
    PutBitmap(300, 300, &block9);
    PutBitmap(300, 300, &clear);   // changes nothing
    const uint8_t* page = ShowBackBuffer();
    EXPECT_EQ(At(page, 100, 100), 7);
    EXPECT_EQ(At(page, 110, 110), 9);
    EXPECT_EQ(At(page, 163, 163), 7);
    EXPECT_EQ(At(page, 164, 164), 0);
    EXPECT_EQ(At(page, 300, 300), 9);
    EXPECT_EQ(At(page, 363, 363), 9);
    EXPECT_EQ(std::count(page, page + 640 * 480, 7), 64 * 64 - 1);
}

TEST_F(DrawTest, ClearScreenBlanksTheBackBufferAndFlipSwapsThePages) {
    PutBitmap(0, 0, &block7);
    Flip();  // page A (with 7s) visible
    PutBitmap(0, 0, &block9);
    const uint8_t* shown = HeadlessVisiblePage();
    EXPECT_EQ(At(shown, 0, 0), 7);  // drawing goes to the back buffer only
    Flip();  // page B (old contents 0, now 9s at the corner) visible
    EXPECT_EQ(At(HeadlessVisiblePage(), 0, 0), 9);
    Flip();  // page A again, untouched since
    EXPECT_EQ(At(HeadlessVisiblePage(), 0, 0), 7);
    ClearScreen();
    const uint8_t* page = ShowBackBuffer();
    EXPECT_TRUE(std::all_of(page, page + 640 * 480, [](uint8_t i) { return i == 0; }));
    EXPECT_TRUE(HeadlessDebugLines().empty());
}

TEST_F(DrawTest, FailedPrimitivesWriteTheirOwnLines) {
    HeadlessFailCall("SurfaceFill", 1, 0x1234ABCD);
    HeadlessFailCall("SurfaceFlip", 1, 0x88760005);
    ClearScreen();
    Flip();
    EXPECT_EQ(HeadlessDebugLines(), (std::vector<std::string>{"ClearScreen Failed at 284 error_code=1234abcd\n",
                                                              "Flip Failed at 264 error_code=88760005\n"}));
}

}  // namespace
