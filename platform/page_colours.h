#pragma once
// A page of palette indices turned into 32-bit 0xAARRGGBB pixels, as the screen shows it.
#include <cstddef>
#include <cstdint>

#include "platform/display.h"

inline void PageToArgb(const uint8_t* page, const PALETTEENTRY palette[256], uint32_t* out, size_t outPitchBytes) {
    uint32_t colour[256];
    for (int i = 0; i < 256; ++i) {
        colour[i] = 0xFF000000u | uint32_t{palette[i].peRed} << 16 | uint32_t{palette[i].peGreen} << 8 |
                    uint32_t{palette[i].peBlue};
    }
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(out) + y * outPitchBytes);
        const uint8_t* from = page + y * SCREEN_WIDTH;
        for (int x = 0; x < SCREEN_WIDTH; ++x) row[x] = colour[from[x]];
    }
}
