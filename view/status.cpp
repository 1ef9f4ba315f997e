#include <algorithm>

#include "gfx/draw.h"
#include "sim/world.h"
#include "view/view.h"

namespace {

constexpr int32_t COUNT_CAP = 29;
constexpr int32_t BALLOON_COLUMN_X = 600;
constexpr int32_t CATCH_COLUMN_X = 570;
constexpr int32_t ENTRY_SPACING = 22;

// Entries of this jump blink between two pictures; those up to the best stay big.
void DrawStarColumn(int32_t x, int32_t count, int32_t best, const RECT& oddPicture, const RECT& evenPicture,
                    const RECT& bestPicture) {
    const int32_t entries = std::max(count, best);
    for (int32_t i = 1; i <= entries; ++i) {
        const RECT* picture = &bestPicture;
        if (i <= count) picture = frameCounter % 2 != 0 ? &oddPicture : &evenPicture;
        PutBitmap(x, ENTRY_SPACING * i, picture);
    }
}

}  // namespace

void DrawStatus() {
    // The stored counts are capped, so the best counts taken from them are capped too.
    balloonCount = std::min(balloonCount, COUNT_CAP);
    catchCount = std::min(catchCount, COUNT_CAP);
    const SpriteCatalogueRects& s = SpriteCatalogue;
    DrawStarColumn(BALLOON_COLUMN_X, balloonCount, bestBalloonCount, s.BalloonStarBig, s.BalloonStarSmall,
                   s.BalloonStarBig);
    // Opposite phase to the balloon column.
    DrawStarColumn(CATCH_COLUMN_X, catchCount, bestCatchCount, s.CatchStarSmall, s.CatchStarBig, s.CatchStarBig);

    for (int32_t k = 0; k < 4; ++k) PutBitmap(30, 50 + 80 * k, &s.AltimeterScale);
    for (int32_t y : {315, 330, 345, 355}) PutBitmap(30, y, &s.AltimeterTick);
    PutBitmap(50, (5000 - ObjectTable[PLAYER_SLOT].altitude) / 20 + 110, &s.AltimeterPointer);
}
