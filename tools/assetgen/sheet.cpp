#include "tools/assetgen/sheet.h"

#include <array>

#include "sim/world.h"
#include "tools/assetgen/exact_math.h"
#include "tools/assetgen/sheet_filler.h"

namespace assetgen {
namespace {

using Shapes = std::vector<Shape>;

const int kOutline = Shade(Ramp::Grey, 0.0);
const int kRigging = Shade(Ramp::Grey, 0.35);

// Adds a shape and its mirror image across the picture's centre line.
void Pair(Shapes& shapes, const Shape& s) {
    shapes.push_back(s);
    Shape m = s;
    for (Point& p : m.points) p.x = -p.x;
    if (m.kind == Shape::Ellipse) m.points[1].x = s.points[1].x;  // a radius, not a place
    if (m.kind == Shape::Box) std::swap(m.points[0].x, m.points[1].x);
    shapes.push_back(m);
}

// Nose towards +y. A white high-wing single with red trim.
Shapes Aircraft() {
    Shapes s;
    s.push_back(Ellipse(0, 21.0, 8.8, 1.5, Ramp::Steel, 0.55, 0.85));  // propeller disc
    s.push_back(Line(-7.8, 21.0, 7.8, 21.0, Shade(Ramp::Steel, 0.3)));
    s.push_back(Box(-10, -24.5, 10, -20.5, Ramp::Grey, 0.8, 1.0, Bulge::RidgeY));  // tailplane
    s.push_back(Box(-10, -24.5, 10, -23.4, Ramp::Grey, 0.6, 0.75));  // elevator hinge
    Pair(s, Box(7, -24.5, 10, -20.5, Ramp::Red, 0.45, 0.6, Bulge::RidgeY));
    s.push_back(Limb(0, -25, 0, -10, 1.6, Ramp::Grey, 0.55, 1.0));  // fuselage
    s.push_back(Limb(0, -13, 0, -3, 2.6, Ramp::Grey, 0.55, 1.0));
    s.push_back(Ellipse(0, 6, 4.0, 12.0, Ramp::Grey, 0.55, 1.0));
    s.push_back(Box(-0.7, -27, 0.7, -17, Ramp::Red, 0.3, 0.7));  // fin, seen edge-on
    s.push_back(Box(-0.9, -17, 0.9, -4, Ramp::Red, 0.3, 0.8, Bulge::RidgeX));  // spine stripe
    s.push_back(Box(-2.3, -3.2, 2.3, 0.2, Ramp::Sky, 0.1, 0.4));  // rear window
    Pair(s, Line(3.6, -1.8, 15.5, 1.9, kRigging));  // struts, showing behind the wing
    Pair(s, Line(3.6, -1.0, 15.5, 1.9, kRigging));
    Pair(s, Ellipse(25.5, 5.25, 1.7, 3.75, Ramp::Red, 0.4, 0.7));  // wing, tips rounded
    s.push_back(Box(-25.5, 1.5, 25.5, 9, Ramp::Grey, 0.82, 1.0, Bulge::RidgeY));
    s.push_back(Box(-25.5, 1.5, 25.5, 2.8, Ramp::Grey, 0.62, 0.78));  // flaps and ailerons
    Pair(s, Box(21.5, 1.5, 25.5, 9, Ramp::Red, 0.45, 0.6, Bulge::RidgeY));
    s.push_back(Polygon({{-3.3, 9}, {3.3, 9}, {2.7, 11.8}, {-2.7, 11.8}}, Ramp::Sky, 0.15, 0.45));  // windscreen
    s.push_back(Ellipse(0, 15.8, 3.0, 3.8, Ramp::Red, 0.3, 0.85));  // cowling
    s.push_back(Ellipse(0, 20.0, 1.3, 1.5, Ramp::Steel, 0.2, 0.6));  // spinner
    return s;
}

// The canopy's cells run front to back; the outer and middle cells carry the stripe colour.
void Canopy(Shapes& s, double left, double right, double back, double front, int cells) {
    const double width = (right - left) / cells;
    for (int i = 0; i < cells; ++i) {
        const bool stripe = i == 0 || i == cells - 1 || i == cells / 2;
        const Ramp ramp = stripe ? Ramp::Red : Ramp::Yellow;
        const double x0 = left + width * i, x1 = x0 + width;
        s.push_back(Box(x0, back, x1, front, ramp, 0.35, 0.95, Bulge::RidgeX));
        s.push_back(Box(x0, front - 1.1, x1, front, ramp, 0.1, 0.45, Bulge::RidgeX));  // cell mouths
    }
}

// A diver seen from above while hanging in the harness; head at (x, y).
void HangingDiver(Shapes& s, double x, double y) {
    s.push_back(Ellipse(x, y + 2.2, 2.5, 3.0, Ramp::Red, 0.3, 0.9));
    s.push_back(Box(x - 1.6, y + 1.4, x + 1.6, y + 3.6, Ramp::Grey, 0.12, 0.35, Bulge::Dome));
    s.push_back(Ellipse(x, y, 1.8, 1.8, Ramp::Yellow, 0.5, 1.0));
}

// Head towards +y, arched, arms and legs spread.
Shapes BoxDiver() {
    Shapes s;
    Pair(s, Limb(1.8, -3.5, 5.2, -7.5, 1.55, Ramp::Red, 0.3, 0.9));
    Pair(s, Limb(5.2, -7.5, 4.2, -11.0, 1.35, Ramp::Red, 0.3, 0.9));
    Pair(s, Ellipse(4.2, -11.4, 1.3, 1.1, Ramp::Grey, 0.1, 0.4));
    Pair(s, Limb(3.0, 5.0, 8.3, 4.5, 1.35, Ramp::Red, 0.3, 0.9));
    Pair(s, Limb(8.3, 4.5, 8.8, 8.8, 1.2, Ramp::Red, 0.3, 0.9));
    Pair(s, Ellipse(8.8, 9.2, 1.1, 1.1, Ramp::Skin, 0.4, 0.9));
    s.push_back(Ellipse(0, 1, 3.6, 5.6, Ramp::Red, 0.3, 0.9));
    s.push_back(Box(-0.6, -4.6, 0.6, 5.5, Ramp::Blue, 0.3, 0.8));  // suit stripe
    s.push_back(Box(-2.0, -2.4, 2.0, 2.6, Ramp::Grey, 0.15, 0.45, Bulge::Dome));  // rig
    s.push_back(Ellipse(0, 8.2, 2.5, 2.7, Ramp::Yellow, 0.45, 1.0));  // helmet
    return s;
}

// Head first towards +y, arms swept back along the body, legs together.
Shapes HeadDownDiver() {
    Shapes s;
    Pair(s, Limb(1.2, -4.0, 1.1, -11.0, 1.3, Ramp::Red, 0.3, 0.9));
    Pair(s, Ellipse(1.1, -11.8, 1.1, 1.1, Ramp::Grey, 0.1, 0.4));
    Pair(s, Limb(3.0, 4.5, 3.7, -4.0, 1.1, Ramp::Red, 0.3, 0.9));
    Pair(s, Ellipse(3.8, -4.9, 0.95, 0.95, Ramp::Skin, 0.4, 0.9));
    s.push_back(Ellipse(0, 1.5, 3.0, 5.8, Ramp::Red, 0.3, 0.9));
    s.push_back(Box(-0.6, -4.2, 0.6, 6.5, Ramp::Blue, 0.3, 0.8));
    s.push_back(Box(-2.1, -2.5, 2.1, 3.2, Ramp::Grey, 0.12, 0.4, Bulge::Dome));
    s.push_back(Ellipse(0, 9.0, 2.4, 2.7, Ramp::Yellow, 0.45, 1.0));
    return s;
}

}  // namespace

// Flying towards +y: canopy behind, the diver ahead of and below it.
Shapes CanopyDiver() {
    Shapes s;
    for (double x : {-22.0, -14.0, -6.0, 6.0, 14.0, 22.0}) {
        s.push_back(Line(x, -3.5, x < 0 ? -1.4 : 1.4, 12.5, kRigging));
    }
    Canopy(s, -24, 24, -16, -3, 9);
    HangingDiver(s, 0, 12.5);
    return s;
}

// Layers of puffs, darker underneath, lighter on top.
Shapes Cloud(const std::vector<std::array<double, 4>>& low, const std::vector<std::array<double, 4>>& high) {
    Shapes s;
    for (const auto& e : low) s.push_back(Ellipse(e[0], e[1], e[2], e[3], Ramp::Cloud, 0.35, 0.75));
    for (const auto& e : high) s.push_back(Ellipse(e[0], e[1], e[2], e[3], Ramp::Cloud, 0.65, 1.0));
    return s;
}

namespace {

Shapes Balloon() {
    Shapes s;
    s.push_back(Polygon({{-1.8, 11.5}, {1.8, 11.5}, {1.4, 15.5}, {-1.4, 15.5}}, Ramp::Green, 0.1, 0.3));  // knot
    s.push_back(Ellipse(0, -2, 11, 13.5, Ramp::Green, 0.2, 1.0));
    s.push_back(Flat(Ellipse(-4.5, -8.5, 2.4, 3.4, Ramp::Green, 0, 0), Shade(Ramp::Green, 1.0)));
    s.push_back(Flat(Ellipse(-5.2, -9.5, 1.0, 1.4, Ramp::Green, 0, 0), kWhiteIndex));
    return s;
}

// Wings across x, head towards +y; tips as separated primaries.
Shapes Raptor() {
    Shapes s;
    s.push_back(Polygon({{-2.5, -9}, {2.5, -9}, {6, -19.5}, {0, -21}, {-6, -19.5}}, Ramp::Brown, 0.25, 0.55));
    for (double side : {1.0, -1.0}) {
        // Spread primaries first, so the wing's edge overlaps their roots.
        const double fingers[4][4] = {{21, 3.5, 28.5, 4.5}, {21.5, 1.5, 29.3, 0.8}, {21, -0.8, 28.3, -3.2}, {20, -3, 25.8, -6.8}};
        for (const auto& f : fingers) {
            s.push_back(Limb(f[0] * side, f[1], f[2] * side, f[3], 1.0, Ramp::Brown, 0.1, 0.3));
        }
        std::vector<Point> wing = {{2, 6}, {12, 7.2}, {19, 6.2}, {23, 4.2}, {23.5, -1}, {22, -4.5}, {16, -6.5}, {8, -6.5}, {2, -5}};
        for (Point& p : wing) p.x *= side;
        s.push_back(Polygon(wing, Ramp::Brown, 0.18, 0.45));
        s.push_back(Polygon({{2 * side, 5.5}, {12 * side, 6.6}, {18 * side, 5.2}, {12 * side, 1}, {2 * side, 0}},
                            Ramp::Brown, 0.4, 0.7));  // coverts
    }
    s.push_back(Ellipse(0, 0, 3.8, 10.5, Ramp::Brown, 0.25, 0.65));
    s.push_back(Ellipse(0, 10.5, 2.8, 3.2, Ramp::Khaki, 0.7, 1.0));  // pale head
    s.push_back(Ellipse(0, 14.0, 1.1, 1.4, Ramp::Yellow, 0.5, 0.9));
    return s;
}

// Brown and white, head towards +y; spread wings or wings raised high (seen shortened).
Shapes FlappingBird(bool raised) {
    Shapes s;
    s.push_back(Polygon({{-1.8, -6}, {1.8, -6}, {3.5, -12}, {-3.5, -12}}, Ramp::Brown, 0.3, 0.6));
    for (double side : {1.0, -1.0}) {
        std::vector<Point> wing = raised
            ? std::vector<Point>{{1.5, 4}, {5, 5.5}, {8.5, 3.5}, {10, -2}, {8.5, -8}, {6, -3.5}, {1.5, -3}}
            : std::vector<Point>{{1.5, 4}, {10, 5.5}, {18, 4.5}, {22.5, 1.5}, {21, -1}, {14, -1.5}, {8, -3}, {1.5, -3}};
        for (Point& p : wing) p.x *= side;
        s.push_back(Polygon(wing, Ramp::Brown, 0.2, 0.5));
        std::vector<Point> band = raised ? std::vector<Point>{{3, 3.8}, {5.5, 4.6}, {8, 2.8}, {5, 1}, {3, 1}}
                                         : std::vector<Point>{{3, 3.5}, {10, 4.6}, {16, 3.8}, {10, 1.5}, {3, 1}};
        for (Point& p : band) p.x *= side;
        s.push_back(Polygon(band, Ramp::Cloud, 0.8, 1.0));  // white wing band
    }
    s.push_back(Ellipse(0, 0, 2.6, 7.0, Ramp::Cloud, 0.6, 1.0));
    s.push_back(Ellipse(0, 7.0, 2.0, 2.3, Ramp::Brown, 0.35, 0.7));
    s.push_back(Ellipse(0, 9.6, 0.7, 1.0, Ramp::Yellow, 0.5, 0.9));
    return s;
}

// A long-winged glider, dark grey-brown.
Shapes Bird() {
    Shapes s;
    s.push_back(Polygon({{-1.5, -6}, {1.5, -6}, {2.8, -11}, {-2.8, -11}}, Ramp::Brown, 0.2, 0.5));
    for (double side : {1.0, -1.0}) {
        std::vector<Point> wing = {{1.5, 3}, {9, 4}, {17, 2.5}, {22.5, -1}, {17, -0.5}, {9, -1.5}, {1.5, -3}};
        for (Point& p : wing) p.x *= side;
        s.push_back(Polygon(wing, Ramp::Brown, 0.15, 0.45));
    }
    s.push_back(Ellipse(0, 0, 2.2, 6.5, Ramp::Brown, 0.3, 0.7));
    s.push_back(Ellipse(0, 6.5, 1.7, 2.0, Ramp::Brown, 0.45, 0.8));
    s.push_back(Ellipse(0, 8.8, 0.6, 0.9, Ramp::Yellow, 0.5, 0.9));
    return s;
}

Shapes Star(double outer, double inner, Ramp ramp, int flatIndex) {
    std::vector<Point> points;
    for (int i = 0; i < 10; ++i) {
        const double a = kPi * i / 5, r = i % 2 ? inner : outer;
        points.push_back({r * Sine(a), -r * Cosine(a)});
    }
    Shapes s;
    s.push_back(Polygon(points, ramp, 0.35, 0.6));
    if (flatIndex >= 0) s.back().fixedIndex = flatIndex;
    // A highlight toward the light, so the star looks struck rather than printed.
    std::vector<Point> glint;
    for (int i = 0; i < 10; ++i) {
        const double a = kPi * i / 5, r = (i % 2 ? inner : outer) * 0.45;
        glint.push_back({r * Sine(a) - outer * 0.12, -r * Cosine(a) - outer * 0.12});
    }
    s.push_back(Flat(Polygon(glint, ramp, 0, 0), flatIndex >= 0 ? Shade(Ramp::Cloud, 0.85) : Shade(ramp, 1.0)));
    return s;
}

// The three deployment stages: the diver at the bottom, the canopy trailing above.
Shapes Deploying(int stage, double width) {
    Shapes s;
    const double diverY = 49;
    if (stage == 1) {
        s.push_back(Line(0, 24, 0, diverY, kRigging));
        s.push_back(Polygon({{-2.5, 3}, {2.2, 2}, {3.5, 10}, {2.8, 18}, {1.5, 25}, {-1.5, 25}, {-3.2, 16}, {-3.6, 8}},
                            Ramp::Yellow, 0.3, 0.8));
        s.push_back(Polygon({{-1, 4}, {1.2, 4}, {1.6, 14}, {0.6, 22}, {-0.8, 22}, {-1.6, 13}}, Ramp::Red, 0.3, 0.8));
    } else {
        const double half = width / 2 - 1.5;
        const double back = stage == 2 ? 5 : 8, front = stage == 2 ? 17 : 18;
        for (double x : {-half + 1, -half / 3, half / 3, half - 1}) {
            s.push_back(Line(x, front - 0.5, x < 0 ? -1.2 : 1.2, diverY, kRigging));
        }
        if (stage == 2) {
            // Still luffing: the trailing edge cut ragged.
            Canopy(s, -half, half, back, front, 5);
            s.push_back(Flat(Polygon({{-half - 0.5, back - 0.1}, {-half / 2, back + 3}, {0, back - 0.1},
                                      {half / 2, back + 3.2}, {half + 0.5, back - 0.1}},
                                     Ramp::Yellow, 0, 0),
                             kTransparent));
        } else {
            Canopy(s, -half, half, back, front, 7);
        }
    }
    HangingDiver(s, 0, diverY);
    return s;
}

// A picture drawn into one of the game's rectangles, its origin (centreX, centreY) from the
// rectangle's top-left corner.
Placement Into(const RECT& r, double centreX, double centreY, int headingStep = 0) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top, centreX, centreY, headingStep};
}

void Fill(Sheet& sheet, const RECT& r, int index) {
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) sheet.At(x, y) = static_cast<uint8_t>(index);
    }
}

// A white strip with a tick every 10 rows, a longer one every 20, and two red marks;
// four copies one under another read as one continuous scale.
void AltimeterScale(Sheet& sheet, const RECT& r) {
    const int left = r.left, top = r.top, right = r.right, bottom = r.bottom;
    Fill(sheet, r, kWhiteIndex);
    Fill(sheet, {left, top, left + 1, bottom}, Shade(Ramp::Grey, 0.55));
    Fill(sheet, {right - 1, top, right, bottom}, Shade(Ramp::Grey, 0.55));
    for (int row = 5; row < bottom - top; row += 10) {
        const int length = (row - 5) % 20 == 0 ? 14 : 8;
        Fill(sheet, {left + 1, top + row, left + 1 + length, top + row + 1}, Shade(Ramp::Grey, 0.45));
        Fill(sheet, {right - 1 - length, top + row, right - 1, top + row + 1}, Shade(Ramp::Grey, 0.45));
    }
    for (int row : {24, 64}) Fill(sheet, {left + 1, top + row, right - 1, top + row + 3}, Shade(Ramp::Red, 0.5));
}

// A thin wavy thread, one pixel wide and unbroken, in the rectangle's upper 31 rows.
void BalloonString(Sheet& sheet, const RECT& r) {
    const int left = r.left, top = r.top;
    int previous = -1;
    for (int row = 0; row < 31; ++row) {
        const int x = RoundToInt(3 + 2.2 * Sine(row * 2 * kPi / 16));
        const int from = previous < 0 ? x : (previous < x ? previous + 1 : x);
        const int to = previous < 0 ? x : (previous > x ? previous - 1 : x);
        for (int c = from; c <= to; ++c) sheet.At(left + c, top + row) = static_cast<uint8_t>(Shade(Ramp::Grey, 0.95));
        previous = x;
    }
}

// Places every index that no picture uses into the swatch, left to right.
void SpendUnusedIndices(Sheet& sheet) {
    bool used[256] = {};
    for (uint8_t v : sheet.pixels) used[v] = true;
    const RECT swatch = SpentPaletteSwatch();
    int x = swatch.left;
    for (int index = 1; index < 256; ++index) {
        if (!used[index]) sheet.At(x++, swatch.top) = static_cast<uint8_t>(index);
    }
}

}  // namespace

Sheet DrawSheet() {
    Sheet sheet;
    const Shapes aircraft = Aircraft(), canopy = CanopyDiver(), box = BoxDiver(), headDown = HeadDownDiver();
    for (int k = 0; k < 36; ++k) {
        Render(sheet, Into(PostureFrame(POSTURE_AIRCRAFT, k), 32, 31.5, k), aircraft, kOutline);
        Render(sheet, Into(PostureFrame(POSTURE_CANOPY, k), 32, 31.5, k), canopy, kOutline);
        Render(sheet, Into(PostureFrame(POSTURE_FREE_FALL, k), 16, 16, k), box, kOutline);
        Render(sheet, Into(PostureFrame(POSTURE_DIVING, k), 16, 16, k), headDown, kOutline);
    }

    const SpriteCatalogueRects& catalogue = SPRITE_CATALOGUE_VALUES;
    Fill(sheet, BACKDROP_TILE, kBackdropIndex);
    Fill(sheet, catalogue.GroundTile, kGroundIndex);
    Fill(sheet, GroundBand(), kGroundIndex);

    const int cloudEdge = Shade(Ramp::Cloud, 0.2);
    Render(sheet, Into(catalogue.Cloud, 32, 15.5),
           Cloud({{-19, 5, 11, 6.5}, {0, 6, 17, 7.5}, {19, 5, 11, 6}, {-26, 6, 4.5, 4}, {26, 7, 4.5, 3.5}},
                 {{-11, 0, 10, 8}, {7, -1, 12, 9.5}, {-2, -7, 8, 6.5}, {17, -2, 7, 5.5}}),
           cloudEdge);
    Render(sheet, Into(catalogue.NearCloudlet, 32, 15.5),
           Cloud({{-14, 6, 10, 6}, {5, 6.5, 14, 6.5}, {21, 6, 8, 5}}, {{-7, 0, 10, 8}, {10, 0, 9, 7.5}, {1, -6, 7, 6}}),
           cloudEdge);
    Render(sheet, Into(catalogue.FarCloudlet, 15.5, 11.5),
           Cloud({{-6, 4, 7.5, 4.5}, {6, 4, 7, 4}}, {{-2, -1, 7, 6}, {5, -2, 5, 4.5}}), cloudEdge);
    Render(sheet, Into(catalogue.Balloon, 15.5, 18), Balloon(), kOutline);

    const auto width = [](const RECT& r) { return r.right - r.left; };
    Render(sheet, Into(catalogue.CanopyOpening1, 5.5, 0), Deploying(1, width(catalogue.CanopyOpening1)), kOutline);
    Render(sheet, Into(catalogue.CanopyOpening2, 12, 0), Deploying(2, width(catalogue.CanopyOpening2)), kOutline);
    Render(sheet, Into(catalogue.CanopyOpening3, 11, 0), Deploying(3, width(catalogue.CanopyOpening3)), kOutline);

    Render(sheet, Into(catalogue.Raptor, 31.5, 31.5, 27), Raptor(), kOutline);  // flies left
    Render(sheet, Into(catalogue.LandingMark, 14, 8),
           {Ellipse(0, 0, 12.5, 6.8, Ramp::Brown, 0.05, 0.22), Ellipse(-4, -1, 5, 3, Ramp::Brown, 0.12, 0.28),
            Ellipse(5, 1.5, 4, 2.5, Ramp::Brown, 0.0, 0.15)},
           -1);
    Render(sheet, Into(catalogue.FlappingBirdA, 15, 28, 9), FlappingBird(false), kOutline);  // flies right
    Render(sheet, Into(catalogue.FlappingBirdB, 15.5, 28, 9), FlappingBird(true), kOutline);

    Render(sheet, Into(catalogue.BalloonStarBig, 15.5, 13.5), Star(12.2, 5.0, Ramp::Grey, kWhiteIndex), kOutline);
    Render(sheet, Into(catalogue.CatchStarBig, 15.5, 13.5), Star(12.2, 5.0, Ramp::Red, -1), kOutline);
    Render(sheet, Into(catalogue.BalloonStarSmall, 15.5, 13.5), Star(9.2, 3.8, Ramp::Grey, kWhiteIndex), kOutline);
    Render(sheet, Into(catalogue.CatchStarSmall, 15.5, 13.5), Star(9.2, 3.8, Ramp::Red, -1), kOutline);

    Fill(sheet, catalogue.AltimeterTick, Shade(Ramp::Red, 0.5));
    Render(sheet, Into(catalogue.Bird, 13.5, 25, 27), Bird(), kOutline);  // glides left
    AltimeterScale(sheet, catalogue.AltimeterScale);
    Render(sheet, Into(catalogue.AltimeterPointer, 0, 0),
           {Polygon({{1.3, 5.5}, {18.7, 1.2}, {18.7, 9.8}}, Ramp::Red, 0.4, 0.8)}, kOutline);
    BalloonString(sheet, catalogue.BalloonString);

    SpendUnusedIndices(sheet);
    return sheet;
}

}  // namespace assetgen
