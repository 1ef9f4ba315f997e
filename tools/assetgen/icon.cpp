#include "tools/assetgen/icon.h"

#include <cmath>

#include "tools/assetgen/exact_math.h"
#include "tools/assetgen/sheet.h"

namespace assetgen {
namespace {

// The drawing is laid out on a 64-unit grid and scaled to the asked size.
constexpr double kGrid = 64;
constexpr double kInset = 2;          // clear border, so the tile sits among other icons
constexpr double kCornerRadius = 12;
constexpr double kRimWidth = 1.25;    // a darker edge that holds the tile on light panels
constexpr int kEdgeSamples = 8;       // per axis, for the tile's soft edge
constexpr double kMaskableShare = 0.62;  // of the size: all the drawing inside the safe circle (radius 40 %)

constexpr Colour kSkyTop = {18, 112, 206}, kSkyBottom = {118, 222, 255}, kRim = {10, 66, 138};

// Signed distance from the tile's edge in grid units: negative inside.
double TileDistance(double x, double y) {
    const double half = kGrid / 2 - kInset;
    const double qx = std::fabs(x - kGrid / 2) - (half - kCornerRadius);
    const double qy = std::fabs(y - kGrid / 2) - (half - kCornerRadius);
    const double ox = qx > 0 ? qx : 0, oy = qy > 0 ? qy : 0;
    const double inner = qx > qy ? qx : qy;
    return std::sqrt(ox * ox + oy * oy) + (inner < 0 ? inner : 0) - kCornerRadius;
}

uint8_t Mix(uint8_t a, uint8_t b, double t) { return static_cast<uint8_t>(RoundToInt(a + (b - a) * t)); }

}  // namespace

Icon DrawIcon(int size, const Palette& palette, IconShape shape) {
    const bool tile = shape == IconShape::Tile;
    const double scale = size / kGrid;  // pixels per grid unit
    const double drawingScale = tile ? scale : scale * kMaskableShare, drawingAt = (size - kGrid * drawingScale) / 2;
    const int outline = Shade(Ramp::Grey, 0.0);

    Sheet canvas;
    const auto draw = [&](const std::vector<Shape>& picture, double x, double y, int heading, double pictureScale) {
        Render(canvas, {0, 0, size, size, drawingAt + x * drawingScale, drawingAt + y * drawingScale, heading,
                        pictureScale * drawingScale},
               picture, outline);
    };
    draw(Cloud({{-14, 6, 10, 6}, {5, 6.5, 14, 6.5}, {21, 6, 8, 5}}, {{-7, 0, 10, 8}, {10, 0, 9, 7.5}, {1, -6, 7, 6}}),
         19, 52, 0, 0.75);
    draw(Cloud({{-6, 4, 7.5, 4.5}, {6, 4, 7, 4}}, {{-2, -1, 7, 6}, {5, -2, 5, 4.5}}), 49, 13, 0, 0.8);
    draw(CanopyDiver(), 33, 27, 35, 1.1);

    Icon icon;
    icon.size = size;
    icon.rgba.resize(static_cast<size_t>(size) * size * 4);
    for (int py = 0; py < size; ++py) {
        const double t = (py + 0.5) / size;
        const Colour sky = {Mix(kSkyTop.r, kSkyBottom.r, t), Mix(kSkyTop.g, kSkyBottom.g, t),
                            Mix(kSkyTop.b, kSkyBottom.b, t)};
        for (int px = 0; px < size; ++px) {
            int covered = tile ? 0 : kEdgeSamples * kEdgeSamples;
            for (int sy = 0; tile && sy < kEdgeSamples; ++sy) {
                for (int sx = 0; sx < kEdgeSamples; ++sx) {
                    const double x = (px + (sx + 0.5) / kEdgeSamples) / scale;
                    const double y = (py + (sy + 0.5) / kEdgeSamples) / scale;
                    covered += TileDistance(x, y) < 0;
                }
            }
            const uint8_t index = canvas.At(px, py);
            Colour c = index != 0 ? palette.colours[index] : sky;
            // At least one pixel of rim at the smallest sizes.
            const double rim = std::fmax(kRimWidth, 1 / scale);
            if (tile && TileDistance((px + 0.5) / scale, (py + 0.5) / scale) > -rim) c = kRim;
            uint8_t* out = &icon.rgba[(static_cast<size_t>(py) * size + px) * 4];
            out[0] = c.r;
            out[1] = c.g;
            out[2] = c.b;
            out[3] = static_cast<uint8_t>(RoundToInt(255.0 * covered / (kEdgeSamples * kEdgeSamples)));
        }
    }
    return icon;
}

}  // namespace assetgen
