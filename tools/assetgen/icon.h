#pragma once
// The desktop icon: the open canopy and its diver over a rounded square of sky.
#include <cstdint>
#include <vector>

#include "tools/assetgen/palette.h"
#include "tools/assetgen/raster.h"

namespace assetgen {

struct Icon {
    static constexpr int kMinSize = 16, kMaxSize = Sheet::kSize;
    int size = 0;
    std::vector<uint8_t> rgba;  // size x size, top row first, alpha not premultiplied
};

// A rounded tile on a clear ground, or (maskable) sky to every edge with the drawing inside the
// middle circle of 80 %, for launchers that cut the icon to a shape of their own.
enum class IconShape { Tile, Maskable };

// size: kMinSize..kMaxSize pixels a side; the same drawing at every size.
Icon DrawIcon(int size, const Palette& palette, IconShape shape = IconShape::Tile);

}  // namespace assetgen
