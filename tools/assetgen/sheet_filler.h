#pragma once
// The two areas of the sheet that the generator fills although the game never copies from
// them; everything else outside the game's rectangles stays transparent.
#include "sim/world.h"

namespace assetgen {

// The ground colour runs on below the ground tile down to the first cloud: two rows the
// game never copies, kept so that the committed sheet stays as it is.
inline RECT GroundBand() {
    const SpriteCatalogueRects& c = SPRITE_CATALOGUE_VALUES;
    return {c.GroundTile.left, c.GroundTile.bottom, c.GroundTile.right, c.Cloud.top};
}

// The palette indices no picture uses, one pixel each, so that the file holds every colour:
// they sit in the row under the first row of aircraft frames, room for indices 1..255.
inline RECT SpentPaletteSwatch() {
    const int32_t row = PostureFrame(POSTURE_AIRCRAFT, 0).bottom;
    return {0, row, 255, row + 1};
}

}  // namespace assetgen
