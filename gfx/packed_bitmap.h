#pragma once
// Reading a packed device-independent bitmap (header, colour table, rows; no file header),
// with every size and offset checked against the bytes at hand.
#include <cstddef>
#include <cstdint>

struct PackedBitmap {
    int32_t width;
    int32_t height;     // rows, always positive here
    bool bottomUp;      // rows stored bottom row first
    uint16_t bitCount;
    uint32_t colourCount;
    const uint8_t* colours;  // colourCount RGBQUADs: blue, green, red, reserved
    const uint8_t* pixels;   // null unless the rows were asked for and are all there
    size_t stride;           // bytes per stored row
};

// The header and the colour table; false when they are not wholly inside the bytes or the
// colour count exceeds 256.
bool ReadBitmapColours(const uint8_t* bytes, size_t size, PackedBitmap* bitmap);
// Also the rows of an uncompressed 8-bit bitmap; false for any other kind or when rows are missing.
bool ReadBitmap8(const uint8_t* bytes, size_t size, PackedBitmap* bitmap);
