// Shows the visible page on the page's canvas (library_web.js). With WebGL2 the page's palette
// indices and the palette as shown go to the GPU, which looks the colours up and enlarges the
// page as the desktop does; the 2D canvas instead takes the page through the shared page-colour
// pass as RGBA bytes, enlarges it at the whole factor and lets the browser stretch that.
#include <emscripten/emscripten.h>

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
PALETTEENTRY shownPalette[256];    // red, green, blue, 255: the palette as the screen shows it
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
    // Paused, the page shows at half its brightness.
    const int shift = PlatformHeld() ? 1 : 0;
    for (int i = 0; i < 256; ++i) {
        shownPalette[i] = PALETTEENTRY{static_cast<uint8_t>(palette[i].peRed >> shift),
                                       static_cast<uint8_t>(palette[i].peGreen >> shift),
                                       static_cast<uint8_t>(palette[i].peBlue >> shift), 255};
    }
    WebScreenShow(indices, shownPalette, PlatformHeld(), fresh);
}

}  // namespace

// The page's colours as RGBA bytes, for the 2D canvas (and for tests that look at each page):
// the pass writes 0xAARRGGBB, so with red and blue swapped its bytes come out in the canvas's
// R, G, B, A order. Valid until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const uint32_t* WebScreenColours(const uint8_t* indices, const PALETTEENTRY* shown) {
    PALETTEENTRY swapped[256];
    for (int i = 0; i < 256; ++i) swapped[i] = PALETTEENTRY{shown[i].peBlue, shown[i].peGreen, shown[i].peRed, 255};
    colours.Convert(indices, swapped, rgba.data(), SCREEN_WIDTH * 4);
    return rgba.data();
}

// The page changed its way of showing (the GPU's context was lost or came back): the visible
// page again, paused or not.
extern "C" EMSCRIPTEN_KEEPALIVE void WebScreenChanged() { WebRepresent(); }

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

// The flip comes after the frame's wait; the page goes to the canvas as the next wait begins,
// and the browser draws it at its next animation frame.
void BackendPresent(const uint8_t*, const PALETTEENTRY*) { flipPending = displayOpen; }

void WebShowFlippedPage() {
    if (!flipPending) return;
    flipPending = false;
    PresentPage(DeviceVisiblePage(), DevicePaletteColours(), true);
}

void WebRepresent() {
    PresentPage(DeviceVisiblePage(), DevicePaletteColours(), false);
}
