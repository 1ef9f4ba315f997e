// The desktop's picture of a page, for the web tests to hold the page's WebGL2 canvas against:
//   skyring-desktop-picture WIDTHxHEIGHT PAGE PICTURE
// reads PAGE (640 x 480 palette indices, then 256 colours as red, green, blue and one byte
// more) and writes PICTURE, the page as the desktop presents it on a screen of that size: the
// largest 4:3 rectangle, as RGBA bytes row after row.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/device/present_geometry.h"
#include "platform/sdl/sharp_scale.h"

int main(int argc, char** argv) {
    int width = 0, height = 0;
    if (argc != 4 || std::sscanf(argv[1], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) {
        std::fprintf(stderr, "usage: skyring-desktop-picture WIDTHxHEIGHT PAGE PICTURE\n");
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    constexpr size_t kPage = SCREEN_WIDTH * SCREEN_HEIGHT;
    if (bytes.size() != kPage + 256 * 4) {
        std::fprintf(stderr, "skyring-desktop-picture: %s is not a page and its palette\n", argv[2]);
        return 2;
    }
    PALETTEENTRY palette[256];
    for (size_t i = 0; i < 256; ++i) {
        palette[i] = PALETTEENTRY{bytes[kPage + 4 * i], bytes[kPage + 4 * i + 1], bytes[kPage + 4 * i + 2], 0};
    }
    const PresentGeometry g = ComputePresentGeometry(width, height);
    SharpScaler scaler;
    scaler.SetGeometry(g.factor, g.w, g.h);
    std::vector<uint32_t> shown(static_cast<size_t>(g.w) * g.h);
    scaler.Present(bytes.data(), palette, reinterpret_cast<uint8_t*>(shown.data()), static_cast<size_t>(g.w) * 4);
    // 0xAARRGGBB to R, G, B, A.
    std::vector<uint8_t> rgba;
    rgba.reserve(shown.size() * 4);
    for (const uint32_t pixel : shown) {
        rgba.insert(rgba.end(), {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                                 static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 24)});
    }
    std::ofstream out(argv[3], std::ios::binary);
    out.write(reinterpret_cast<const char*>(rgba.data()), static_cast<std::streamsize>(rgba.size()));
    return out.good() ? 0 : 2;
}
