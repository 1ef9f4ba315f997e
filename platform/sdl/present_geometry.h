#pragma once
// Where the 640 x 480 page lands on a screen of a given size.

struct PresentGeometry {
    int factor;      // whole-number enlargement with sharp pixels, at least 1
    int x, y, w, h;  // the largest 4:3 rectangle that fits, centred
};

inline PresentGeometry ComputePresentGeometry(int screenW, int screenH) {
    PresentGeometry g{1, 0, 0, 640, 480};
    if (screenW <= 0 || screenH <= 0) return g;
    while (640 * (g.factor + 1) <= screenW && 480 * (g.factor + 1) <= screenH) ++g.factor;
    // 4:3: the width is limited either by the screen's width or by 4/3 of its height.
    if (screenW * 3 <= screenH * 4) {
        g.w = screenW;
        g.h = screenW * 3 / 4;
    } else {
        g.h = screenH;
        g.w = screenH * 4 / 3;
    }
    g.x = (screenW - g.w) / 2;
    g.y = (screenH - g.h) / 2;
    return g;
}
