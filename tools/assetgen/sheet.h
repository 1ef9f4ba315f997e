#pragma once
// Draws every picture of the sprite sheet where the game's rectangles expect it.
#include <array>
#include <vector>

#include "tools/assetgen/raster.h"

namespace assetgen {

// The finished sheet: all pictures, the two solid tiles, and every palette index present
// (the ones no picture needs sit in rows the game never draws).
Sheet DrawSheet();

// Pictures the desktop icon shares with the sheet, in their own coordinates.
std::vector<Shape> CanopyDiver();
// Puffs given as centre x, centre y, radius x, radius y.
std::vector<Shape> Cloud(const std::vector<std::array<double, 4>>& low, const std::vector<std::array<double, 4>>& high);

}  // namespace assetgen
