#pragma once
// Where the 640 x 480 page lands on a screen of a given size, and the size of a window for it.

struct PresentGeometry {
    int factor;      // whole-number enlargement with sharp pixels, at least 1
    int x, y, w, h;  // the rectangle the page fills, centred
};

// The largest whole factor at which the page fits in width x height, at least 1.
inline int WholeFactor(int width, int height) {
    int factor = 1;
    while (640 * (factor + 1) <= width && 480 * (factor + 1) <= height) ++factor;
    return factor;
}

// Sharp scaling fills the largest 4:3 rectangle that fits; integer scaling keeps the page at
// its whole factor, with wider bars (a screen smaller than the page gets it fitted all the same).
inline PresentGeometry ComputePresentGeometry(int screenW, int screenH, bool integerOnly = false) {
    PresentGeometry g{1, 0, 0, 640, 480};
    if (screenW <= 0 || screenH <= 0) return g;
    g.factor = WholeFactor(screenW, screenH);
    if (integerOnly && 640 * g.factor <= screenW && 480 * g.factor <= screenH) {
        g.w = 640 * g.factor;
        g.h = 480 * g.factor;
    } else if (screenW * 3 <= screenH * 4) {
        // 4:3: the width is limited either by the screen's width or by 4/3 of its height.
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

struct WindowSize {
    int w, h;
};

// A window shows the page at the largest whole multiple that fits in about 85 % of the
// desktop, leaving room for the desktop's panels and the window's frame; never below 640x480.
inline WindowSize WindowedSize(int desktopW, int desktopH) {
    const int factor = WholeFactor(desktopW * 85 / 100, desktopH * 85 / 100);
    return WindowSize{640 * factor, 480 * factor};
}
