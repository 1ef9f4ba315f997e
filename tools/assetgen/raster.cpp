#include "tools/assetgen/raster.h"

#include <cmath>

#include "tools/assetgen/exact_math.h"

namespace assetgen {
namespace {

constexpr int kSamples = 4;  // per axis

// Towards the light: up and to the left of the screen, and above it.
constexpr double kLightX = -0.48, kLightY = -0.56, kLightZ = 0.675;

struct Hit {
    bool inside;
    double nx, ny;  // surface slope in picture coordinates; 0, 0 is flat
};

Hit Test(const Shape& s, double x, double y) {
    switch (s.kind) {
    case Shape::Ellipse: {
        const double dx = (x - s.points[0].x) / s.points[1].x;
        const double dy = (y - s.points[0].y) / s.points[1].y;
        const double d = dx * dx + dy * dy;
        if (d > 1) return {false, 0, 0};
        return {true, dx * 0.85, dy * 0.85};
    }
    case Shape::Box: {
        const Point a = s.points[0], b = s.points[1];
        if (x < a.x || x >= b.x || y < a.y || y >= b.y) return {false, 0, 0};
        const double u = 2 * (x - a.x) / (b.x - a.x) - 1;
        const double v = 2 * (y - a.y) / (b.y - a.y) - 1;
        if (s.bulge == Bulge::RidgeX) return {true, u * 0.8, 0};
        if (s.bulge == Bulge::RidgeY) return {true, 0, v * 0.8};
        if (s.bulge == Bulge::Dome) return {true, u * 0.6, v * 0.6};
        return {true, 0, 0};
    }
    case Shape::Polygon: {
        bool inside = false;
        const size_t n = s.points.size();
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const Point p = s.points[i], q = s.points[j];
            if ((p.y > y) != (q.y > y) && x < (q.x - p.x) * (y - p.y) / (q.y - p.y) + p.x) inside = !inside;
        }
        return {inside, 0, 0};
    }
    case Shape::Segment: {
        const Point a = s.points[0], b = s.points[1];
        const double ex = b.x - a.x, ey = b.y - a.y;
        const double len2 = ex * ex + ey * ey;
        double t = len2 > 0 ? ((x - a.x) * ex + (y - a.y) * ey) / len2 : 0;
        t = Clamp(t, 0, 1);
        const double px = x - (a.x + t * ex), py = y - (a.y + t * ey);
        const double d2 = px * px + py * py;
        if (d2 > s.radius * s.radius) return {false, 0, 0};
        return {true, px / s.radius * 0.8, py / s.radius * 0.8};
    }
    }
    return {false, 0, 0};
}

struct Sample {
    int index;  // 0: nothing
    bool line;
};

}  // namespace

Shape Ellipse(double cx, double cy, double rx, double ry, Ramp ramp, double dark, double light) {
    Shape s{Shape::Ellipse, {{cx, cy}, {rx, ry}}};
    s.ramp = ramp, s.dark = dark, s.light = light, s.bulge = Bulge::Dome;
    return s;
}

Shape Box(double x0, double y0, double x1, double y1, Ramp ramp, double dark, double light, Bulge bulge) {
    Shape s{Shape::Box, {{x0, y0}, {x1, y1}}};
    s.ramp = ramp, s.dark = dark, s.light = light, s.bulge = bulge;
    return s;
}

Shape Polygon(std::vector<Point> points, Ramp ramp, double dark, double light) {
    Shape s{Shape::Polygon, std::move(points)};
    s.ramp = ramp, s.dark = dark, s.light = light;
    return s;
}

Shape Limb(double x0, double y0, double x1, double y1, double radius, Ramp ramp, double dark, double light) {
    Shape s{Shape::Segment, {{x0, y0}, {x1, y1}}};
    s.radius = radius, s.ramp = ramp, s.dark = dark, s.light = light, s.bulge = Bulge::Dome;
    return s;
}

Shape Line(double x0, double y0, double x1, double y1, int index) {
    Shape s{Shape::Segment, {{x0, y0}, {x1, y1}}};
    s.radius = 0.45;
    s.line = true;
    s.fixedIndex = index;
    return s;
}

Shape Flat(Shape s, int index) {
    s.fixedIndex = index;
    return s;
}

void Render(Sheet& sheet, const Placement& where, const std::vector<Shape>& shapes, int outline) {
    const double angle = where.headingStep * 10 * kPi / 180;
    const double c = Cosine(angle), sn = Sine(angle);
    const int w = where.width, h = where.height;
    std::vector<uint8_t> body(static_cast<size_t>(w) * h, 0);  // 1 body, 2 line
    std::vector<uint8_t> cell(static_cast<size_t>(w) * h, 0);

    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            Sample samples[kSamples * kSamples];
            int bodyCount = 0, lineCount = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double u = (px + (sx + 0.5) / kSamples - where.centreX) / where.scale;
                    const double v = (py + (sy + 0.5) / kSamples - where.centreY) / where.scale;
                    // Back into the picture's own coordinates (the inverse turn).
                    const double x = c * u - sn * v, y = sn * u + c * v;
                    Sample got{0, false};
                    for (const Shape& s : shapes) {
                        const Hit hit = Test(s, x, y);
                        if (!hit.inside) continue;
                        if (s.fixedIndex >= 0) {
                            got = {s.fixedIndex, s.line};
                            continue;
                        }
                        // Turn the slope with the picture, then light it in screen terms.
                        const double nx = c * hit.nx + sn * hit.ny, ny = -sn * hit.nx + c * hit.ny;
                        const double nz = std::sqrt(Clamp(1 - nx * nx - ny * ny, 0, 1));
                        const double lit = Clamp((nx * kLightX + ny * kLightY + nz * kLightZ - 0.3) / 0.7, 0, 1);
                        got = {Shade(s.ramp, s.dark + (s.light - s.dark) * lit), false};
                    }
                    samples[sy * kSamples + sx] = got;
                    if (got.index != 0) (got.line ? lineCount : bodyCount)++;
                }
            }
            const int total = kSamples * kSamples;
            bool wantLine = false;
            if (bodyCount * 2 >= total) {
                wantLine = false;
            } else if (lineCount >= 3) {
                wantLine = true;
            } else {
                continue;
            }
            int best = 0, bestCount = 0;
            for (int i = 0; i < total; ++i) {
                if (samples[i].index == 0 || samples[i].line != wantLine) continue;
                int count = 0;
                for (int j = 0; j < total; ++j) count += samples[j].index == samples[i].index;
                if (count > bestCount) best = samples[i].index, bestCount = count;
            }
            cell[static_cast<size_t>(py) * w + px] = static_cast<uint8_t>(best);
            body[static_cast<size_t>(py) * w + px] = wantLine ? 2 : 1;
        }
    }

    if (outline >= 0) {
        std::vector<uint8_t> edged = cell;
        for (int py = 0; py < h; ++py) {
            for (int px = 0; px < w; ++px) {
                if (body[static_cast<size_t>(py) * w + px] != 0) continue;
                const auto isBody = [&](int x, int y) {
                    return x >= 0 && y >= 0 && x < w && y < h && body[static_cast<size_t>(y) * w + x] == 1;
                };
                if (isBody(px - 1, py) || isBody(px + 1, py) || isBody(px, py - 1) || isBody(px, py + 1)) {
                    edged[static_cast<size_t>(py) * w + px] = static_cast<uint8_t>(outline);
                }
            }
        }
        cell.swap(edged);
    }

    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            const uint8_t v = cell[static_cast<size_t>(py) * w + px];
            if (v != 0) sheet.At(where.left + px, where.top + py) = v;
        }
    }
}

}  // namespace assetgen
