#pragma once
// Draws every picture of the sprite sheet into the game's own rectangles.
#include <array>
#include <vector>

#include "tools/assetgen/raster.h"

namespace assetgen {

// The finished sheet: every picture in the rectangle the game's catalogue and posture frames
// give it, the two solid tiles, and every palette index present (the ones no picture needs
// in the swatch of sheet_filler.h).
Sheet DrawSheet();

// Pictures the desktop icon shares with the sheet, in their own coordinates.
std::vector<Shape> CanopyDiver();
// Puffs given as centre x, centre y, radius x, radius y.
std::vector<Shape> Cloud(const std::vector<std::array<double, 4>>& low, const std::vector<std::array<double, 4>>& high);

}  // namespace assetgen
