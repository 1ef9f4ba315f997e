#include "gfx/sheet.h"

#include <algorithm>
#include <cstring>

#include "gfx/display.h"
#include "gfx/packed_bitmap.h"
#include "platform/debug.h"
#include "platform/resources.h"

namespace {

constexpr const char* kBitmapType = "BITMAP";

}  // namespace

int InitPalette(const char* name) {
    auto fail = [](int32_t step) {
        DebugPrintf("Palette Init Failed at %d", step);
        return 0;
    };
    const EmbeddedResource* found = ResourceFind(name, kBitmapType);
    if (found == nullptr) return fail(123);
    const ResourceSpan bytes = ResourceLoad(found);
    if (bytes.data == nullptr) return fail(129);
    // A resource that does not hold a whole header and colour table fails like one that cannot be had.
    PackedBitmap bitmap{};
    if (!ReadBitmapColours(bytes.data, bytes.size, &bitmap)) return fail(129);
    for (uint32_t i = 0; i < bitmap.colourCount; ++i) {
        const uint8_t* quad = bitmap.colours + 4 * i;
        PaletteEntries[i] = PALETTEENTRY{quad[2], quad[1], quad[0], 0};
    }
    const int32_t count = static_cast<int32_t>(bitmap.colourCount);
    if (PaletteSetEntries(Display.paletteObject, 0, count, PaletteEntries) != DD_OK) return fail(149);
    return 1;
}

int InitBitmap(const char* name, int32_t width, int32_t height) {
    auto fail = [](int32_t step) {
        DebugPrintf("Bitmap Init Failed at %d", step);
        return 0;
    };
    // Finding, reading and checking the bitmap is one step, as loading an image is.
    const EmbeddedResource* found = ResourceFind(name, kBitmapType);
    if (found == nullptr) return fail(173);
    const ResourceSpan bytes = ResourceLoad(found);
    PackedBitmap bitmap{};
    if (bytes.data == nullptr || !ReadBitmap8(bytes.data, bytes.size, &bitmap)) return fail(173);

    uint8_t* pixels = nullptr;
    int32_t pitch = 0, surfaceWidth = 0, surfaceHeight = 0;
    if (SurfaceLock(Display.SheetSurface, &pixels, &pitch, &surfaceWidth, &surfaceHeight) != DD_OK) return fail(182);
    // The copy covers the asked-for area as far as both the bitmap and the surface reach.
    const int32_t copyWidth = std::max(0, std::min({width, bitmap.width, surfaceWidth}));
    const int32_t copyHeight = std::max(0, std::min({height, bitmap.height, surfaceHeight}));
    for (int32_t row = 0; row < copyHeight; ++row) {
        const int32_t stored = bitmap.bottomUp ? bitmap.height - 1 - row : row;
        std::memcpy(pixels + static_cast<size_t>(row) * static_cast<size_t>(pitch),
                    bitmap.pixels + static_cast<size_t>(stored) * bitmap.stride, static_cast<size_t>(copyWidth));
    }
    if (SurfaceUnlock(Display.SheetSurface) != DD_OK) return fail(187);
    if (SurfaceSetColorKey(Display.SheetSurface, 0, 0) != DD_OK) return fail(198);
    return 1;
}
