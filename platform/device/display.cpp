// The device semantics shared by every backend: surfaces are plain arrays of indices,
// keyed copies and fills are done here, and a backend only shows the visible page.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/device/hooks.h"
#include "platform/device/kept_spans.h"
#include "platform/display.h"

// Pixels start on a cache line, so that rows of 64-pixel tiles, 640 apart, fill whole lines
// instead of straddling two.
template <typename T>
struct CacheLineAllocator {
    using value_type = T;
    static constexpr std::align_val_t ALIGNMENT{64};
    CacheLineAllocator() = default;
    template <typename U>
    explicit CacheLineAllocator(const CacheLineAllocator<U>&) {}
    T* allocate(size_t count) { return static_cast<T*>(::operator new(count * sizeof(T), ALIGNMENT)); }
    void deallocate(T* pointer, size_t) { ::operator delete(pointer, ALIGNMENT); }
    bool operator==(const CacheLineAllocator&) const { return true; }
    bool operator!=(const CacheLineAllocator&) const { return false; }
};

struct PlatformSurface {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t, CacheLineAllocator<uint8_t>> pixels;
    bool lost = false;
    bool keyed = false;
    uint8_t keyLow = 0;
    uint8_t keyHigh = 0;
    // What keyed copies from this surface have found out; forgotten when its pixels or key change.
    KeptSpans keptSpans;
    PlatformSurface* backBuffer = nullptr;  // owned by the primary surface
    PlatformPalette* palette = nullptr;
    const char* label = "offscreen";
};

struct PlatformPalette {
    PALETTEENTRY entries[256];
};

struct PlatformDisplay {
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

void Present() {
    if (livePrimary != nullptr && livePrimary->palette != nullptr && !livePrimary->lost) {
        BackendPresent(livePrimary->pixels.data(), livePrimary->palette->entries);
    }
}

}  // namespace

uint32_t DisplayCreate(DisplayDevice* device) {
    *device = nullptr;
    if (uint32_t code = BackendCall("DisplayCreate")) return code;
    if (liveDevice != nullptr) return DDERR_GENERIC;  // one device per program
    liveDevice = new PlatformDisplay;
    *device = liveDevice;
    return DD_OK;
}

uint32_t DisplaySetExclusive(DisplayDevice device, WindowHandle window) {
    if (uint32_t code = BackendCall("DisplaySetExclusive")) return code;
    if (device == nullptr || window == nullptr) return DDERR_INVALIDPARAMS;
    if (uint32_t code = BackendDisplayOpen(window)) return code;
    device->exclusive = true;
    return DD_OK;
}

uint32_t DisplaySetMode(DisplayDevice device, int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (uint32_t code = BackendCall("DisplaySetMode")) return code;
    if (device == nullptr || !device->exclusive) return DDERR_INVALIDPARAMS;
    if (width != SCREEN_WIDTH || height != SCREEN_HEIGHT || bitsPerPixel != 8) return DDERR_INVALIDMODE;
    device->modeSet = true;
    return DD_OK;
}

uint32_t DisplayCreatePrimary(DisplayDevice device, Surface* primary) {
    *primary = nullptr;
    if (uint32_t code = BackendCall("DisplayCreatePrimary")) return code;
    if (device == nullptr || !device->modeSet || livePrimary != nullptr) return DDERR_INVALIDPARAMS;
    livePrimary = NewSurface(SCREEN_WIDTH, SCREEN_HEIGHT, "primary");
    livePrimary->backBuffer = NewSurface(SCREEN_WIDTH, SCREEN_HEIGHT, "back");
    *primary = livePrimary;
    return DD_OK;
}

uint32_t SurfaceGetBackBuffer(Surface primary, Surface* backBuffer) {
    *backBuffer = nullptr;
    if (uint32_t code = BackendCall("SurfaceGetBackBuffer")) return code;
    if (primary == nullptr || primary->backBuffer == nullptr) return DDERR_INVALIDPARAMS;
    *backBuffer = primary->backBuffer;
    return DD_OK;
}

uint32_t DisplayCreatePalette(DisplayDevice device, const PALETTEENTRY entries[256], Palette* palette) {
    *palette = nullptr;
    if (uint32_t code = BackendCall("DisplayCreatePalette")) return code;
    if (device == nullptr || entries == nullptr) return DDERR_INVALIDPARAMS;
    auto* made = new PlatformPalette;
    livePalettes.push_back(made);
    std::memcpy(made->entries, entries, sizeof made->entries);
    *palette = made;
    return DD_OK;
}

uint32_t SurfaceSetPalette(Surface primary, Palette palette) {
    if (uint32_t code = BackendCall("SurfaceSetPalette")) return code;
    if (primary == nullptr || palette == nullptr) return DDERR_INVALIDPARAMS;
    primary->palette = palette;
    return DD_OK;
}

uint32_t DisplayCreateOffscreen(DisplayDevice device, int32_t width, int32_t height, Surface* surface) {
    *surface = nullptr;
    if (uint32_t code = BackendCall("DisplayCreateOffscreen")) return code;
    if (device == nullptr || width <= 0 || height <= 0 || width > 4096 || height > 4096) return DDERR_INVALIDPARAMS;
    *surface = NewSurface(width, height, "offscreen");
    return DD_OK;
}

uint32_t PaletteSetEntries(Palette palette, int32_t first, int32_t count, const PALETTEENTRY* entries) {
    if (uint32_t code = BackendCall("PaletteSetEntries")) return code;
    if (palette == nullptr || entries == nullptr || first < 0 || count < 0 || count > 256 - first) {
        return DDERR_INVALIDPARAMS;
    }
    std::memcpy(palette->entries + first, entries, static_cast<size_t>(count) * sizeof(PALETTEENTRY));
    if (livePrimary != nullptr && livePrimary->palette == palette) Present();
    return DD_OK;
}

uint32_t SurfaceLock(Surface surface, uint8_t** pixels, int32_t* pitch, int32_t* width, int32_t* height) {
    *pixels = nullptr;
    if (uint32_t code = BackendCall("SurfaceLock", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    if (surface->lost) return DDERR_SURFACELOST;
    // The caller may write any pixel until the unlock: a keyed copy made meanwhile works out
    // spans from the pixels as they are then, and the unlock forgets those again.
    ForgetKeptSpans(surface->keptSpans);
    *pixels = surface->pixels.data();
    *pitch = surface->width;
    *width = surface->width;
    *height = surface->height;
    return DD_OK;
}

uint32_t SurfaceUnlock(Surface surface) {
    if (uint32_t code = BackendCall("SurfaceUnlock", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    ForgetKeptSpans(surface->keptSpans);
    return DD_OK;
}

uint32_t SurfaceSetColorKey(Surface surface, uint8_t low, uint8_t high) {
    if (uint32_t code = BackendCall("SurfaceSetColorKey", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr || low > high) return DDERR_INVALIDPARAMS;
    surface->keyed = true;
    surface->keyLow = low;
    surface->keyHigh = high;
    ForgetKeptSpans(surface->keptSpans);
    return DD_OK;
}

uint32_t SurfaceBltFast(Surface dest, uint32_t x, uint32_t y, Surface source, const RECT* sourceRect) {
    if (uint32_t code = BackendCall("SurfaceBltFast")) return code;
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
    size_t sourcePitch = static_cast<size_t>(source->width);
    uint8_t* to = dest->pixels.data() + static_cast<size_t>(y) * destPitch + x;
    const uint8_t* from = source->pixels.data() + static_cast<size_t>(r.top) * sourcePitch + r.left;
    std::vector<uint8_t> snapshot;
    if (dest == source) {
        // Within one surface the rectangles may overlap: copy from the source as it was.
        snapshot.resize(size_t{w} * h);
        for (uint32_t row = 0; row < h; ++row) std::memcpy(snapshot.data() + row * w, from + row * sourcePitch, w);
        from = snapshot.data();
        sourcePitch = w;
    }
    if (source->keyed) {
        CopyKeyed(source->keptSpans, r, source->keyLow, source->keyHigh, to, destPitch, from, sourcePitch);
    } else {
        CopyAll(to, destPitch, from, sourcePitch, w, h);
    }
    ForgetKeptSpans(dest->keptSpans);
    return DD_OK;
}

uint32_t SurfaceFill(Surface surface, uint8_t index) {
    if (uint32_t code = BackendCall("SurfaceFill", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    if (surface->lost) return DDERR_SURFACELOST;
    std::fill(surface->pixels.begin(), surface->pixels.end(), index);
    ForgetKeptSpans(surface->keptSpans);
    return DD_OK;
}

uint32_t SurfaceFlip(Surface primary) {
    if (uint32_t code = BackendCall("SurfaceFlip")) return code;
    if (primary == nullptr || primary->backBuffer == nullptr) return DDERR_INVALIDPARAMS;
    if (primary->lost) return DDERR_SURFACELOST;
    // The handles stay put and the pages change places, as with a hardware flip.
    primary->pixels.swap(primary->backBuffer->pixels);
    ForgetKeptSpans(primary->keptSpans);
    ForgetKeptSpans(primary->backBuffer->keptSpans);
    Present();
    return DD_OK;
}

uint32_t SurfaceIsLost(Surface surface) {
    if (uint32_t code = BackendCall("SurfaceIsLost", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    return surface->lost ? DDERR_SURFACELOST : DD_OK;
}

uint32_t SurfaceRestore(Surface surface) {
    if (uint32_t code = BackendCall("SurfaceRestore", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    auto restore = [](PlatformSurface* s) {
        s->lost = false;
        ForgetKeptSpans(s->keptSpans);
        std::fill(s->pixels.begin(), s->pixels.end(), 0);
    };
    restore(surface);
    if (surface->backBuffer != nullptr) restore(surface->backBuffer);
    return DD_OK;
}

uint32_t SurfaceRelease(Surface surface) {
    if (uint32_t code = BackendCall("SurfaceRelease", surface ? surface->label : nullptr)) return code;
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    // The back buffer belongs to its primary and goes with it: freed alone, the next flip
    // would swap pages with freed memory.
    if (livePrimary != nullptr && surface == livePrimary->backBuffer) return DDERR_INVALIDPARAMS;
    if (surface == livePrimary) livePrimary = nullptr;
    if (surface->backBuffer != nullptr) DeleteSurface(surface->backBuffer);
    DeleteSurface(surface);
    return DD_OK;
}

uint32_t PaletteRelease(Palette palette) {
    if (uint32_t code = BackendCall("PaletteRelease")) return code;
    if (palette == nullptr) return DDERR_INVALIDPARAMS;
    if (livePrimary != nullptr && livePrimary->palette == palette) livePrimary->palette = nullptr;
    livePalettes.erase(std::remove(livePalettes.begin(), livePalettes.end(), palette), livePalettes.end());
    delete palette;
    return DD_OK;
}

uint32_t DisplayRelease(DisplayDevice device) {
    if (uint32_t code = BackendCall("DisplayRelease")) return code;
    if (device == nullptr) return DDERR_INVALIDPARAMS;
    if (device->exclusive) BackendDisplayClose();
    if (device == liveDevice) liveDevice = nullptr;
    delete device;
    return DD_OK;
}

void DeviceLoseSurfaces() {
    for (PlatformSurface* surface : liveSurfaces) surface->lost = true;
}

const uint8_t* DeviceVisiblePage() { return livePrimary != nullptr ? livePrimary->pixels.data() : nullptr; }

const PALETTEENTRY* DevicePaletteColours() {
    return livePrimary != nullptr && livePrimary->palette != nullptr ? livePrimary->palette->entries : nullptr;
}

void DeviceDisplayForget() {
    while (!liveSurfaces.empty()) DeleteSurface(liveSurfaces.back());
    for (PlatformPalette* palette : livePalettes) delete palette;
    livePalettes.clear();
    delete liveDevice;
    liveDevice = nullptr;
    livePrimary = nullptr;
}
