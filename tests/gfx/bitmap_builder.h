#pragma once
// Packed bitmaps made to measure for the loader tests.
#include <cstdint>
#include <functional>
#include <vector>

struct BitmapSpec {
    int32_t width = 640;
    int32_t height = 640;  // positive: stored bottom row first
    uint16_t bitCount = 8;
    uint32_t clrUsed = 256;
    uint32_t colourTableEntries = 256;  // RGBQUADs actually written
    // Colour i as (red, green, blue).
    std::function<uint32_t(uint32_t)> colour = [](uint32_t i) { return (i << 16) | ((255 - i) << 8) | (i ^ 0x5A); };
    // The index shown at picture position (x, y), y counted from the top as seen.
    std::function<uint8_t(int32_t, int32_t)> pixel = [](int32_t x, int32_t y) {
        return static_cast<uint8_t>((x + 3 * y) & 0xFF);
    };
};

inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

inline std::vector<uint8_t> MakePackedBitmap(const BitmapSpec& spec) {
    const int32_t rows = spec.height < 0 ? -spec.height : spec.height;
    const size_t stride = (static_cast<size_t>(spec.width) * spec.bitCount + 31) / 32 * 4;
    std::vector<uint8_t> b(40 + 4 * spec.colourTableEntries + stride * rows, 0);
    Put32(b, 0, 40);
    Put32(b, 4, static_cast<uint32_t>(spec.width));
    Put32(b, 8, static_cast<uint32_t>(spec.height));
    b[12] = 1;
    b[14] = static_cast<uint8_t>(spec.bitCount);
    Put32(b, 20, static_cast<uint32_t>(stride * rows));
    Put32(b, 24, 23621);
    Put32(b, 28, 23621);
    Put32(b, 32, spec.clrUsed);
    Put32(b, 36, spec.clrUsed);
    for (uint32_t i = 0; i < spec.colourTableEntries; ++i) {
        const uint32_t rgb = spec.colour(i);
        b[40 + 4 * i] = static_cast<uint8_t>(rgb);
        b[41 + 4 * i] = static_cast<uint8_t>(rgb >> 8);
        b[42 + 4 * i] = static_cast<uint8_t>(rgb >> 16);
    }
    const size_t pixels = 40 + 4 * spec.colourTableEntries;
    if (spec.bitCount == 8) {
        for (int32_t y = 0; y < rows; ++y) {
            const int32_t stored = spec.height > 0 ? rows - 1 - y : y;
            for (int32_t x = 0; x < spec.width; ++x) b[pixels + stored * stride + x] = spec.pixel(x, y);
        }
    }
    return b;
}
