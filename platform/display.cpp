// The device semantics shared by every backend: surfaces are plain arrays of indices,
// keyed copies and fills are done here, and a backend only shows the visible page.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/backend.h"
#include "platform/display.h"

struct PlatformSurface {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
    bool lost = false;
    bool keyed = false;
    uint8_t keyLow = 0;
    uint8_t keyHigh = 0;
    // Where each row's pixels are not the key colour, worked out once after the pixels or the
    // key change, so that keyed copies move whole runs instead of testing every pixel.
    struct Run {
        uint16_t start, end;  // end exclusive
    };
    std::vector<Run> runs;
    std::vector<uint32_t> rowFirstRun;  // height + 1 entries into runs
    bool runsStale = true;
    bool isPrimary = false;
    PlatformSurface* backBuffer = nullptr;  // owned by the primary surface
    PlatformPalette* palette = nullptr;
    const char* label = "offscreen";
};

struct PlatformPalette {
    PALETTEENTRY entries[256];
};

struct PlatformDisplay {
    WindowHandle window = nullptr;
    bool exclusive = false;
    bool modeSet = false;
};

namespace {

PlatformDisplay* liveDevice = nullptr;
PlatformSurface* livePrimary = nullptr;
std::vector<PlatformSurface*> liveSurfaces;
std::vector<PlatformPalette*> livePalettes;

PlatformSurface* NewSurface(int32_t width, int32_t height, const char* label) {
    auto* surface = new PlatformSurface;
    surface->width = width;
    surface->height = height;
    surface->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    surface->label = label;
    liveSurfaces.push_back(surface);
    return surface;
}

void DeleteSurface(PlatformSurface* surface) {
    liveSurfaces.erase(std::remove(liveSurfaces.begin(), liveSurfaces.end(), surface), liveSurfaces.end());
    delete surface;
}

void FindOpaqueRuns(PlatformSurface* surface) {
    surface->runs.clear();
    surface->rowFirstRun.assign(static_cast<size_t>(surface->height) + 1, 0);
    for (int32_t y = 0; y < surface->height; ++y) {
        surface->rowFirstRun[static_cast<size_t>(y)] = static_cast<uint32_t>(surface->runs.size());
        const uint8_t* row = surface->pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(surface->width);
        int32_t x = 0;
        while (x < surface->width) {
            auto transparent = [&](int32_t at) { return row[at] >= surface->keyLow && row[at] <= surface->keyHigh; };
            while (x < surface->width && transparent(x)) ++x;
            const int32_t start = x;
            while (x < surface->width && !transparent(x)) ++x;
            if (x > start) surface->runs.push_back({static_cast<uint16_t>(start), static_cast<uint16_t>(x)});
        }
    }
    surface->rowFirstRun[static_cast<size_t>(surface->height)] = static_cast<uint32_t>(surface->runs.size());
    surface->runsStale = false;
}

void Present() {
    if (livePrimary != nullptr && livePrimary->palette != nullptr && !livePrimary->lost) {
        BackendPresent(livePrimary->pixels.data(), livePrimary->palette->entries);
    }
}

}  // namespace

uint32_t DisplayCreate(DisplayDevice* device) {
    *device = nullptr;
    if (uint32_t code = PlatformCall("DisplayCreate")) return code;
    if (liveDevice != nullptr) return DDERR_GENERIC;  // one device per program
    liveDevice = new PlatformDisplay;
    *device = liveDevice;
    return DD_OK;
}

uint32_t DisplaySetExclusive(DisplayDevice device, WindowHandle window) {
    if (uint32_t code = PlatformCall("DisplaySetExclusive")) return code;
    if (device == nullptr || window == nullptr) return DDERR_INVALIDPARAMS;
    if (uint32_t code = BackendDisplayOpen(window)) return code;
    device->window = window;
    device->exclusive = true;
    return DD_OK;
}

uint32_t DisplaySetMode(DisplayDevice device, int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (uint32_t code = PlatformCall("DisplaySetMode")) return code;
    if (device == nullptr || !device->exclusive) return DDERR_INVALIDPARAMS;
    if (width != SCREEN_WIDTH || height != SCREEN_HEIGHT || bitsPerPixel != 8) return DDERR_INVALIDMODE;
    device->modeSet = true;
    return DD_OK;
}

uint32_t DisplayCreatePrimary(DisplayDevice device, Surface* primary) {
    *primary = nullptr;
    if (uint32_t code = PlatformCall("DisplayCreatePrimary")) return code;
    if (device == nullptr || !device->modeSet || livePrimary != nullptr) return DDERR_INVALIDPARAMS;
    livePrimary = NewSurface(SCREEN_WIDTH, SCREEN_HEIGHT, "primary");
    livePrimary->isPrimary = true;
    livePrimary->backBuffer = NewSurface(SCREEN_WIDTH, SCREEN_HEIGHT, "back");
    *primary = livePrimary;
    return DD_OK;
}

uint32_t SurfaceGetBackBuffer(Surface primary, Surface* backBuffer) {
    *backBuffer = nullptr;
    if (uint32_t code = PlatformCall("SurfaceGetBackBuffer")) return code;
    if (primary == nullptr || primary->backBuffer == nullptr) return DDERR_INVALIDPARAMS;
    *backBuffer = primary->backBuffer;
    return DD_OK;
}

uint32_t DisplayCreatePalette(DisplayDevice device, const PALETTEENTRY entries[256], Palette* palette) {
    *palette = nullptr;
    if (uint32_t code = PlatformCall("DisplayCreatePalette")) return code;
    if (device == nullptr || entries == nullptr) return DDERR_INVALIDPARAMS;
    auto* made = new PlatformPalette;
    livePalettes.push_back(made);
    std::memcpy(made->entries, entries, sizeof made->entries);
    *palette = made;
    return DD_OK;
}

uint32_t SurfaceSetPalette(Surface primary, Palette palette) {
    if (uint32_t code = PlatformCall("SurfaceSetPalette")) return code;
    if (primary == nullptr || palette == nullptr) return DDERR_INVALIDPARAMS;
    primary->palette = palette;
    return DD_OK;
}

uint32_t DisplayCreateOffscreen(DisplayDevice device, int32_t width, int32_t height, Surface* surface) {
    *surface = nullptr;
    if (uint32_t code = PlatformCall("DisplayCreateOffscreen")) return code;
    if (device == nullptr || width <= 0 || height <= 0 || width > 4096 || height > 4096) return DDERR_INVALIDPARAMS;
    *surface = NewSurface(width, height, "offscreen");
    return DD_OK;
}

uint32_t PaletteSetEntries(Palette palette, int32_t first, int32_t count, const PALETTEENTRY* entries) {
    if (uint32_t code = PlatformCall("PaletteSetEntries")) return code;
    if (palette == nullptr || entries == nullptr || first < 0 || count < 0 || count > 256 - first) {
        return DDERR_INVALIDPARAMS;
    }
    std::memcpy(palette->entries + first, entries, static_cast<size_t>(count) * sizeof(PALETTEENTRY));
    if (livePrimary != nullptr && livePrimary->palette == palette) Present();
    return DD_OK;
}

uint32_t SurfaceLock(Surface surface, uint8_t** pixels, int32_t* pitch, int32_t* width, int32_t* height) {
    *pixels = nullptr;
    if (uint32_t code = PlatformCall("SurfaceLock", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    if (surface->lost) return DDERR_SURFACELOST;
    surface->runsStale = true;  // the caller may write any pixel
    *pixels = surface->pixels.data();
    *pitch = surface->width;
    *width = surface->width;
    *height = surface->height;
    return DD_OK;
}

uint32_t SurfaceUnlock(Surface surface) {
    if (uint32_t code = PlatformCall("SurfaceUnlock", surface ? surface->label : nullptr)) return code;
    return surface == nullptr ? DDERR_INVALIDPARAMS : DD_OK;
}

uint32_t SurfaceSetColorKey(Surface surface, uint8_t low, uint8_t high) {
    if (uint32_t code = PlatformCall("SurfaceSetColorKey", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr || low > high) return DDERR_INVALIDPARAMS;
    surface->keyed = true;
    surface->keyLow = low;
    surface->keyHigh = high;
    surface->runsStale = true;
    return DD_OK;
}

uint32_t SurfaceBltFast(Surface dest, uint32_t x, uint32_t y, Surface source, const RECT* sourceRect) {
    if (uint32_t code = PlatformCall("SurfaceBltFast")) return code;
    if (dest == nullptr || source == nullptr || sourceRect == nullptr) return DDERR_INVALIDPARAMS;
    if (dest->lost || source->lost) return DDERR_SURFACELOST;
    const RECT& r = *sourceRect;
    if (r.left < 0 || r.top < 0 || r.right > source->width || r.bottom > source->height || r.left >= r.right ||
        r.top >= r.bottom) {
        return DDERR_INVALIDRECT;
    }
    const uint32_t w = static_cast<uint32_t>(r.right - r.left);
    const uint32_t h = static_cast<uint32_t>(r.bottom - r.top);
    // A negative position arrives as a huge unsigned one and so lies outside as well.
    if (uint64_t{x} + w > static_cast<uint64_t>(dest->width) || uint64_t{y} + h > static_cast<uint64_t>(dest->height)) {
        return DDERR_INVALIDRECT;
    }
    const size_t destPitch = static_cast<size_t>(dest->width);
    const size_t sourcePitch = static_cast<size_t>(source->width);
    if (source->keyed && source->runsStale) FindOpaqueRuns(source);
    for (uint32_t row = 0; row < h; ++row) {
        const size_t sourceRow = static_cast<size_t>(r.top) + row;
        const uint8_t* from = source->pixels.data() + sourceRow * sourcePitch;
        uint8_t* to = dest->pixels.data() + (static_cast<size_t>(y) + row) * destPitch + x;
        if (!source->keyed) {
            std::memcpy(to, from + r.left, w);
            continue;
        }
        // Runs are in ascending order; copy the parts that fall inside left..right.
        const PlatformSurface::Run* first = source->runs.data() + source->rowFirstRun[sourceRow];
        const PlatformSurface::Run* last = source->runs.data() + source->rowFirstRun[sourceRow + 1];
        const PlatformSurface::Run* run = std::partition_point(
            first, last, [&r](const PlatformSurface::Run& each) { return each.end <= r.left; });
        for (; run != last && run->start < r.right; ++run) {
            const int32_t start = std::max<int32_t>(run->start, r.left);
            const int32_t end = std::min<int32_t>(run->end, r.right);
            if (start < end) std::memcpy(to + (start - r.left), from + start, static_cast<size_t>(end - start));
        }
    }
    return DD_OK;
}

uint32_t SurfaceFill(Surface surface, uint8_t index) {
    if (uint32_t code = PlatformCall("SurfaceFill", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    if (surface->lost) return DDERR_SURFACELOST;
    std::fill(surface->pixels.begin(), surface->pixels.end(), index);
    surface->runsStale = true;
    return DD_OK;
}

uint32_t SurfaceFlip(Surface primary) {
    if (uint32_t code = PlatformCall("SurfaceFlip")) return code;
    if (primary == nullptr || primary->backBuffer == nullptr) return DDERR_INVALIDPARAMS;
    if (primary->lost) return DDERR_SURFACELOST;
    // The handles stay put and the pages change places, as with a hardware flip.
    primary->pixels.swap(primary->backBuffer->pixels);
    Present();
    return DD_OK;
}

uint32_t SurfaceIsLost(Surface surface) {
    if (uint32_t code = PlatformCall("SurfaceIsLost", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    return surface->lost ? DDERR_SURFACELOST : DD_OK;
}

uint32_t SurfaceRestore(Surface surface) {
    if (uint32_t code = PlatformCall("SurfaceRestore", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    auto restore = [](PlatformSurface* s) {
        s->lost = false;
        s->runsStale = true;
        std::fill(s->pixels.begin(), s->pixels.end(), 0);
    };
    restore(surface);
    if (surface->backBuffer != nullptr) restore(surface->backBuffer);
    return DD_OK;
}

uint32_t SurfaceRelease(Surface surface) {
    if (uint32_t code = PlatformCall("SurfaceRelease", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    if (surface == livePrimary) livePrimary = nullptr;
    if (surface->backBuffer != nullptr) DeleteSurface(surface->backBuffer);
    DeleteSurface(surface);
    return DD_OK;
}

uint32_t PaletteRelease(Palette palette) {
    if (uint32_t code = PlatformCall("PaletteRelease")) return code;
    if (palette == nullptr) return DDERR_INVALIDPARAMS;
    if (livePrimary != nullptr && livePrimary->palette == palette) livePrimary->palette = nullptr;
    livePalettes.erase(std::remove(livePalettes.begin(), livePalettes.end(), palette), livePalettes.end());
    delete palette;
    return DD_OK;
}

uint32_t DisplayRelease(DisplayDevice device) {
    if (uint32_t code = PlatformCall("DisplayRelease")) return code;
    if (device == nullptr) return DDERR_INVALIDPARAMS;
    if (device->exclusive) BackendDisplayClose();
    if (device == liveDevice) liveDevice = nullptr;
    delete device;
    return DD_OK;
}

void PlatformLoseSurfaces() {
    for (PlatformSurface* surface : liveSurfaces) surface->lost = true;
}

const uint8_t* PlatformVisiblePage() { return livePrimary != nullptr ? livePrimary->pixels.data() : nullptr; }

const PALETTEENTRY* PlatformPaletteColours() {
    return livePrimary != nullptr && livePrimary->palette != nullptr ? livePrimary->palette->entries : nullptr;
}

void PlatformDisplayForget() {
    while (!liveSurfaces.empty()) DeleteSurface(liveSurfaces.back());
    for (PlatformPalette* palette : livePalettes) delete palette;
    livePalettes.clear();
    delete liveDevice;
    liveDevice = nullptr;
    livePrimary = nullptr;
}
