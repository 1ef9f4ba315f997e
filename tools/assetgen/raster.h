#pragma once
// Pictures described once as shapes in their own coordinates (facing down the screen, units
// of final pixels, origin at the picture's centre) and rendered into the sheet at any turn:
// each pixel takes 4 x 4 samples mapped back into the picture, lit from the top-left of the
// screen after turning, and a one-pixel outline is laid around the result.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/assetgen/palette.h"

namespace assetgen {

struct Point {
    double x, y;
};

// How a shape's surface bends, which decides its light.
enum class Bulge { Flat, Dome, RidgeX, RidgeY };

struct Shape {
    enum Kind { Ellipse, Box, Polygon, Segment } kind;
    std::vector<Point> points;  // Ellipse: centre, radii; Box: two corners; Segment: ends
    double radius = 0;          // Segment half-width
    Ramp ramp = Ramp::Grey;
    double dark = 0.2, light = 0.8;  // the part of the ramp the light spans
    Bulge bulge = Bulge::Flat;
    bool line = false;  // thin rigging: kept at low coverage, never outlined
    int fixedIndex = -1;  // a flat colour instead of a lit ramp
};

Shape Ellipse(double cx, double cy, double rx, double ry, Ramp ramp, double dark, double light);
Shape Box(double x0, double y0, double x1, double y1, Ramp ramp, double dark, double light,
          Bulge bulge = Bulge::Flat);
Shape Polygon(std::vector<Point> points, Ramp ramp, double dark, double light);
Shape Limb(double x0, double y0, double x1, double y1, double radius, Ramp ramp, double dark,
           double light);
Shape Line(double x0, double y0, double x1, double y1, int index);
// Any shape in one flat colour.
Shape Flat(Shape s, int index);

// The 640 x 640 sheet of palette indices, top row first.
struct Sheet {
    static constexpr int kSize = 640;
    std::vector<uint8_t> pixels = std::vector<uint8_t>(kSize * kSize, 0);
    uint8_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * kSize + x]; }
};

struct Placement {
    int left, top, width, height;  // the region the picture may touch
    double centreX, centreY;       // where the picture's origin lands, relative to left/top
    int headingStep = 0;           // turned 10 degrees per step; 9 faces right
    double scale = 1.0;            // pixels per picture unit
};

// outline: index of the outline colour, or -1 for none.
void Render(Sheet& sheet, const Placement& where, const std::vector<Shape>& shapes, int outline);

}  // namespace assetgen
