#pragma once
// The sheet's 256 colours: black, the two tile colours, white, and fourteen smooth ramps
// from dark to light that the pictures shade with.
#include <array>
#include <cstdint>

namespace assetgen {

struct Colour {
    uint8_t r, g, b;
};

enum class Ramp { Grey, Cloud, Sky, Skin, Red, Yellow, Green, Blue, Purple, Brown, Teal, Steel, Khaki, Rose };
constexpr int kRampCount = 14;
constexpr int kRampLength = 18;

constexpr int kTransparent = 0;
constexpr int kBackdropIndex = 1;  // (0, 214, 255)
constexpr int kGroundIndex = 2;    // (214, 173, 82)
constexpr int kWhiteIndex = 255;

struct Palette {
    std::array<Colour, 256> colours;
};

// Builds the palette; every entry differs from every other.
Palette MakePalette();

// Index of a ramp's shade; level 0 is the darkest, 1 the lightest.
int Shade(Ramp ramp, double level);

}  // namespace assetgen
