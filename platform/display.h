#pragma once
// The display device: 8-bit index surfaces, one 256-entry palette, keyed copies and a
// flipping pair of pages. Every call returns 0 or a nonzero code.
#include <cstdint>

#include "platform/rect.h"
#include "platform/window.h"

struct PALETTEENTRY {
    uint8_t peRed, peGreen, peBlue, peFlags;
};

using DisplayDevice = struct PlatformDisplay*;
using Surface = struct PlatformSurface*;
using Palette = struct PlatformPalette*;

enum : uint32_t {
    DD_OK = 0,
    DDERR_GENERIC = 0x80004005,
    DDERR_INVALIDPARAMS = 0x80070057,
    DDERR_INVALIDMODE = 0x88760078,
    DDERR_INVALIDRECT = 0x88760096,
    DDERR_SURFACELOST = 0x887601C2,
};

enum : int32_t { SCREEN_WIDTH = 640, SCREEN_HEIGHT = 480 };

uint32_t DisplayCreate(DisplayDevice* device);
// Takes the window's screen for the game alone.
uint32_t DisplaySetExclusive(DisplayDevice device, WindowHandle window);
// Only 640 x 480 x 8 exists.
uint32_t DisplaySetMode(DisplayDevice device, int32_t width, int32_t height, int32_t bitsPerPixel);
// The visible page with one attached back buffer; flipping swaps them.
uint32_t DisplayCreatePrimary(DisplayDevice device, Surface* primary);
uint32_t SurfaceGetBackBuffer(Surface primary, Surface* backBuffer);
uint32_t DisplayCreatePalette(DisplayDevice device, const PALETTEENTRY entries[256], Palette* palette);
uint32_t SurfaceSetPalette(Surface primary, Palette palette);
// An off-screen surface that keeps its contents (until lost).
uint32_t DisplayCreateOffscreen(DisplayDevice device, int32_t width, int32_t height, Surface* surface);

// Entries first..first+count-1 take the given colours; they show at once.
uint32_t PaletteSetEntries(Palette palette, int32_t first, int32_t count, const PALETTEENTRY* entries);

// Direct access to a surface's indices, top row first, rows pitch bytes apart.
uint32_t SurfaceLock(Surface surface, uint8_t** pixels, int32_t* pitch, int32_t* width, int32_t* height);
uint32_t SurfaceUnlock(Surface surface);
// Source pixels with an index in low..high are left out of keyed copies.
uint32_t SurfaceSetColorKey(Surface surface, uint8_t low, uint8_t high);
// Copies a source rectangle to (x, y) of dest, skipping the source's key colour.
// Refused with DDERR_INVALIDRECT unless the whole destination lies inside dest.
uint32_t SurfaceBltFast(Surface dest, uint32_t x, uint32_t y, Surface source, const RECT* sourceRect);
uint32_t SurfaceFill(Surface surface, uint8_t index);
// The back buffer becomes the visible page and the visible page the back buffer.
uint32_t SurfaceFlip(Surface primary);
// 0 while the surface has its memory; DDERR_SURFACELOST after the screen was taken away.
uint32_t SurfaceIsLost(Surface surface);
uint32_t SurfaceRestore(Surface surface);

// Releasing the primary surface frees its back buffer, which cannot be released alone
// (DDERR_INVALIDPARAMS); releasing the device gives the screen back.
uint32_t SurfaceRelease(Surface surface);
uint32_t PaletteRelease(Palette palette);
uint32_t DisplayRelease(DisplayDevice device);
