#include "tools/assetgen/palette.h"

#include "tools/assetgen/exact_math.h"

namespace assetgen {
namespace {

constexpr int kFirstRampIndex = 3;

// Each ramp runs from a dark shade through a saturated middle to a light one, so the
// shades the light picks most often stay clean rather than muddy.
struct RampStops {
    Colour dark, middle, light;
};

// Order matches enum Ramp.
constexpr RampStops kRamps[kRampCount] = {
    {{18, 20, 28}, {122, 124, 132}, {236, 236, 240}},    // Grey: outlines, metal, rigging
    {{112, 128, 160}, {190, 200, 218}, {250, 252, 255}}, // Cloud
    {{0, 40, 96}, {30, 130, 214}, {176, 238, 255}},      // Sky
    {{92, 48, 28}, {216, 150, 108}, {255, 226, 198}},    // Skin
    {{60, 0, 6}, {214, 28, 30}, {255, 186, 168}},        // Red
    {{100, 48, 0}, {248, 188, 16}, {255, 248, 172}},     // Yellow and orange
    {{0, 40, 8}, {44, 168, 44}, {200, 255, 160}},        // Green
    {{0, 10, 70}, {30, 80, 218}, {160, 188, 255}},       // Blue
    {{44, 0, 60}, {148, 40, 188}, {244, 176, 255}},      // Purple
    {{34, 16, 6}, {138, 84, 38}, {236, 200, 150}},       // Brown
    {{0, 46, 50}, {0, 158, 158}, {166, 255, 238}},       // Teal
    {{40, 46, 58}, {126, 136, 154}, {228, 234, 244}},    // Steel
    {{56, 50, 16}, {168, 154, 88}, {244, 236, 180}},     // Khaki
    {{80, 16, 40}, {218, 88, 128}, {255, 200, 218}},     // Rose
};

uint8_t Mix(uint8_t a, uint8_t b, double t) { return static_cast<uint8_t>(RoundToInt(a + (b - a) * t)); }

Colour RampColour(const RampStops& r, int step) {
    const double t = static_cast<double>(step) / (kRampLength - 1);
    const Colour from = t < 0.5 ? r.dark : r.middle, to = t < 0.5 ? r.middle : r.light;
    const double u = t < 0.5 ? t * 2 : t * 2 - 1;
    return {Mix(from.r, to.r, u), Mix(from.g, to.g, u), Mix(from.b, to.b, u)};
}

bool Same(Colour a, Colour b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

}  // namespace

Palette MakePalette() {
    Palette p{};
    p.colours[kTransparent] = {0, 0, 0};
    p.colours[kBackdropIndex] = {0, 214, 255};
    p.colours[kGroundIndex] = {214, 173, 82};
    p.colours[kWhiteIndex] = {255, 255, 255};
    for (int r = 0; r < kRampCount; ++r) {
        for (int s = 0; s < kRampLength; ++s) {
            p.colours[kFirstRampIndex + r * kRampLength + s] = RampColour(kRamps[r], s);
        }
    }
    // Nudge any accidental twin by one step of blue, so every index shows its own colour.
    for (int i = 1; i < 256; ++i) {
        for (int j = 0; j < i; ++j) {
            if (Same(p.colours[i], p.colours[j])) {
                p.colours[i].b = static_cast<uint8_t>(p.colours[i].b < 255 ? p.colours[i].b + 1 : 254);
                j = -1;
            }
        }
    }
    return p;
}

int Shade(Ramp ramp, double level) {
    const int step = RoundToInt(Clamp(level, 0.0, 1.0) * (kRampLength - 1));
    return kFirstRampIndex + static_cast<int>(ramp) * kRampLength + step;
}

}  // namespace assetgen
