#pragma once
// Pages of palette indices turned into 32-bit 0xAARRGGBB pixels, as the screen shows them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/display.h"

class PageColours {
public:
    // Rows of out lie outPitchBytes apart.
    void Convert(const uint8_t* page, const PALETTEENTRY palette[256], uint32_t* out, size_t outPitchBytes);
    // The same a row at a time: the palette's pairs (see below), remade if the palette
    // changed, then any row of SCREEN_WIDTH indices through them.
    const uint64_t* Pairs(const PALETTEENTRY palette[256]);
    static void ConvertRow(const uint64_t* pairs, const uint8_t* indices, uint32_t* out);

private:
    // The colours of every pair of neighbouring indices, so that one lookup gives two pixels;
    // remade only when the palette changes, which is rare.
    std::vector<uint64_t> pairs_;
    PALETTEENTRY palette_[256] = {};
};
