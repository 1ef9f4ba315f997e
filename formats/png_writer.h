#pragma once
// The one PNG encoder of the tools: 8-bit rows into a stream the caller opened and closes.
#include <cstdint>
#include <cstdio>
#include <functional>

struct PngImage {
    enum Pixels { Palette, Rgb, Rgba };
    int width = 0, height = 0;
    Pixels pixels = Rgb;
    const uint8_t* palette = nullptr;  // Palette: 256 entries of red, green, blue
    int compressionLevel = -1;         // zlib's 0..9; -1 for libpng's default
    // Row y, top first: width indices, or width pixels of RGB or RGBA.
    std::function<const uint8_t*(int y)> row;
};

// False on any failure libpng reports; it prints nothing, the caller says what failed.
bool WritePng(FILE* file, const PngImage& image);
