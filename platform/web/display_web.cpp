// Shows the visible page on the page's canvas: the shared page-colour pass into RGBA bytes,
// then the browser enlarges it at the largest whole factor with sharp pixels and stretches
// that smoothly to the largest 4:3 rectangle of the browser window, black bars around.
#include <vector>

#include "platform/device/hooks.h"
#include "platform/device/page_colours.h"
#include "platform/device/present_geometry.h"
#include "platform/web/web_backend.h"

namespace {

bool displayOpen = false;
bool flipPending = false;
PageColours colours;
std::vector<uint32_t> rgba(SCREEN_WIDTH * SCREEN_HEIGHT);
int laidOutW = -1, laidOutH = -1;  // the browser window's size the canvas was laid out for

void PresentPage(const uint8_t* indices, const PALETTEENTRY palette[256], bool fresh) {
    if (!displayOpen || indices == nullptr || palette == nullptr) return;
    int screenW = 0, screenH = 0;
    WebScreenSize(&screenW, &screenH);
    if (screenW != laidOutW || screenH != laidOutH) {
        const PresentGeometry g = ComputePresentGeometry(screenW, screenH);
        WebScreenLayout(g.factor, g.x, g.y, g.w, g.h);
        laidOutW = screenW;
        laidOutH = screenH;
    }
    // The pass writes 0xAARRGGBB; with red and blue swapped in the palette its bytes come out
    // in the canvas's R, G, B, A order. Paused, the page shows at half its brightness.
    PALETTEENTRY swapped[256];
    const int shift = PlatformHeld() ? 1 : 0;
    for (int i = 0; i < 256; ++i) {
        swapped[i] = PALETTEENTRY{static_cast<uint8_t>(palette[i].peBlue >> shift),
                                  static_cast<uint8_t>(palette[i].peGreen >> shift),
                                  static_cast<uint8_t>(palette[i].peRed >> shift), palette[i].peFlags};
    }
    colours.Convert(indices, swapped, rgba.data(), SCREEN_WIDTH * 4);
    WebScreenShow(rgba.data(), PlatformHeld(), fresh);
}

}  // namespace

uint32_t BackendDisplayOpen(WindowHandle window) {
    if (window == nullptr) return DDERR_INVALIDPARAMS;
    displayOpen = true;
    laidOutW = laidOutH = -1;
    return DD_OK;
}

void BackendDisplayClose() {
    displayOpen = false;
    flipPending = false;
}

// The flip comes after the frame's wait; the page is converted as the next wait begins, and
// the browser draws it at its next animation frame.
void BackendPresent(const uint8_t*, const PALETTEENTRY*) { flipPending = displayOpen; }

void WebShowFlippedPage() {
    if (!flipPending) return;
    flipPending = false;
    PresentPage(DeviceVisiblePage(), DevicePaletteColours(), true);
}

void WebRepresent() {
    PresentPage(DeviceVisiblePage(), DevicePaletteColours(), false);
}
