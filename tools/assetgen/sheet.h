#pragma once
// Draws every picture of the sprite sheet where the game's rectangles expect it.
#include "tools/assetgen/raster.h"

namespace assetgen {

// The finished sheet: all pictures, the two solid tiles, and every palette index present
// (the ones no picture needs sit in rows the game never draws).
Sheet DrawSheet();

}  // namespace assetgen
