#include "platform/device/page_colours.h"

#include <cstring>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pairs of pixels are read and written as integers");

const uint64_t* PageColours::Pairs(const PALETTEENTRY palette[256]) {
    if (pairs_.empty() || std::memcmp(palette_, palette, sizeof palette_) != 0) {
        std::memcpy(palette_, palette, sizeof palette_);
        uint64_t colour[256];
        for (int i = 0; i < 256; ++i) {
            colour[i] = 0xFF000000u | uint32_t{palette[i].peRed} << 16 | uint32_t{palette[i].peGreen} << 8 |
                        uint32_t{palette[i].peBlue};
        }
        pairs_.resize(65536);
        for (size_t i = 0; i < pairs_.size(); ++i) pairs_[i] = colour[i & 0xFF] | colour[i >> 8] << 32;
    }
    return pairs_.data();
}

void PageColours::ConvertRow(const uint64_t* pairs, const uint8_t* indices, uint32_t* out) {
    auto* row = reinterpret_cast<uint8_t*>(out);
    // Eight indices in, four pairs of pixels out.
    for (int x = 0; x < SCREEN_WIDTH; x += 8) {
        uint64_t eight;
        std::memcpy(&eight, indices + x, 8);
        const uint64_t first = pairs[eight & 0xFFFF], second = pairs[eight >> 16 & 0xFFFF];
        const uint64_t third = pairs[eight >> 32 & 0xFFFF], fourth = pairs[eight >> 48];
        std::memcpy(row + 4 * x, &first, 8);
        std::memcpy(row + 4 * x + 8, &second, 8);
        std::memcpy(row + 4 * x + 16, &third, 8);
        std::memcpy(row + 4 * x + 24, &fourth, 8);
    }
}

void PageColours::Convert(const uint8_t* page, const PALETTEENTRY palette[256], uint32_t* out, size_t outPitchBytes) {
    const uint64_t* pairs = Pairs(palette);
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        ConvertRow(pairs, page + static_cast<size_t>(y) * SCREEN_WIDTH,
                   reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(out) + static_cast<size_t>(y) * outPitchBytes));
    }
}
