// Pages turned into screen pixels: every index through its palette entry, rows at the given
// pitch, and a changed palette seen at once.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/device/page_colours.h"

namespace {

constexpr size_t kPitchPixels = SCREEN_WIDTH + 3;  // rows with a gap after them

uint32_t Argb(const PALETTEENTRY& e) {
    return 0xFF000000u | uint32_t{e.peRed} << 16 | uint32_t{e.peGreen} << 8 | e.peBlue;
}

void ExpectShown(const std::vector<uint8_t>& page, const PALETTEENTRY* palette, const std::vector<uint32_t>& out) {
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            const uint8_t index = page[static_cast<size_t>(y * SCREEN_WIDTH + x)];
            ASSERT_EQ(out[y * kPitchPixels + x], Argb(palette[index])) << x << "," << y << " index " << int{index};
        }
        for (size_t gap = SCREEN_WIDTH; gap < kPitchPixels; ++gap) ASSERT_EQ(out[y * kPitchPixels + gap], 0xDEADBEEFu);
    }
}

TEST(PageColours, EveryPixelShowsItsEntryAndAChangedPaletteShowsAtOnce) {
    std::mt19937 random(3);
    std::vector<uint8_t> page(SCREEN_WIDTH * SCREEN_HEIGHT);
    for (uint8_t& index : page) index = static_cast<uint8_t>(random());
    PALETTEENTRY palette[256];
    for (PALETTEENTRY& e : palette) e = {uint8_t(random()), uint8_t(random()), uint8_t(random()), uint8_t(random())};
    std::vector<uint32_t> out(kPitchPixels * SCREEN_HEIGHT, 0xDEADBEEFu);
    PageColours colours;

    colours.Convert(page.data(), palette, out.data(), kPitchPixels * 4);
    ExpectShown(page, palette, out);

    palette[page[0]] = {1, 2, 3, 0};
    palette[255] = {250, 251, 252, 0};
    colours.Convert(page.data(), palette, out.data(), kPitchPixels * 4);
    ExpectShown(page, palette, out);
    EXPECT_EQ(out[0], 0xFF010203u);
}

}  // namespace
