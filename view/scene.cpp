#include <cstdlib>

#include "gfx/draw.h"
#include "sim/world.h"
#include "view/view.h"

namespace {

constexpr int32_t TILE = 64;
constexpr int32_t CENTRE_X = 320;
constexpr int32_t CENTRE_Y = 200;
constexpr int32_t GROUND_ALTITUDE = 330;
constexpr int32_t LANDING_MARK_ALTITUDE = 50;
constexpr int32_t VIEW_HALF_HEIGHT = 250;

void DrawBackground() {
    for (int32_t column = 9; column >= 0; --column)
        for (int32_t row = TILE_MAP_ROWS - 1; row >= 0; --row)
            PutBitmap(TILE * column, TILE * row, &TileRects[TileMap[row * TILE_MAP_COLUMNS + column]]);
    // The strip under the grid, taken from row 1 of the map.
    for (int32_t i = 10; i >= 0; --i) PutBitmap(TILE * i, 416, &TileRects[TileMap[TILE_MAP_COLUMNS + i]]);
}

// Signed remainders on purpose: a cloudlet that comes out left of the screen is not drawn.
void DrawCloudlets(const GameObject& player) {
    for (int32_t i = 1; i <= 100; ++i)
        PutBitmap((ItemField.itemX[i] - player.x / 50) % 640, (player.altitude / 10 + ItemField.itemY[i]) % 480,
                  &SpriteCatalogue.FarCloudlet);
    for (int32_t i = 101; i <= CLOUDLET_COUNT; ++i)
        PutBitmap((ItemField.itemX[i] - player.x / 20) % 640, (player.altitude / 5 + ItemField.itemY[i]) % 480,
                  &SpriteCatalogue.NearCloudlet);
}

void DrawGround(const GameObject& player) {
    if (player.altitude < GROUND_ALTITUDE) {
        for (int32_t i = 10; i >= 0; --i) PutBitmap(TILE * i, 416, &SpriteCatalogue.GroundTile);
        for (int32_t column = 10; column >= 0; --column)
            for (int32_t row = 7; row >= 0; --row)
                PutBitmap(TILE * column, player.altitude + 150 + 60 * row, &SpriteCatalogue.GroundTile);
    }
    if (player.altitude < LANDING_MARK_ALTITUDE) PutBitmap(333, player.altitude + 220, &SpriteCatalogue.LandingMark);
}

// The canopy-opening band: the picture of the stage, or null outside the band.
const RECT* CanopyOpeningStage(int32_t altitude) {
    if (altitude > 1300 || altitude <= 1000) return nullptr;
    if (altitude > 1200) return &SpriteCatalogue.CanopyOpening1;
    if (altitude > 1100) return &SpriteCatalogue.CanopyOpening2;
    return &SpriteCatalogue.CanopyOpening3;
}

// Spins, moves and draws every slot; the player comes first, so the others are placed
// against its moved x and its fieldY from before the move.
void DrawObjects() {
    const GameObject& player = ObjectTable[PLAYER_SLOT];
    for (GameObject& object : ObjectTable) {
        // Every slot counts its spin down, active or not.
        if (--object.spinTimer < 0)
            object.spinTimer = 0;
        else
            object.heading += 2;
        if (!object.active) continue;

        const int32_t jx = 1 - Rng() % 3;
        const int32_t jy = 1 - Rng() % 3;
        object.fieldY = FieldY(object);
        const int32_t sx = object.x + CENTRE_X - player.x + jx;
        const int32_t sy = object.fieldY + CENTRE_Y - player.fieldY + jy;
        if (object.altitude > 1000)
            PutBitmap(sx, sy, &object.sprite);
        else
            PutBitmap(sx - 10, sy - 30, &object.sprite);
        object.x += object.dx;
        object.y += object.dy;
        if (const RECT* stage = CanopyOpeningStage(object.altitude)) {
            object.formationSlot = -1;
            PutBitmap(sx + 5, sy - 30, stage);
        }
    }
}

int32_t ClampToField(int32_t index) {
    if (index < 0) return 1;
    if (index > ITEM_COUNT) return ITEM_COUNT;
    return index;
}

// Birds drift only while in view; the view test uses their x from before the drift.
void DrawItems() {
    GameObject& player = ObjectTable[PLAYER_SLOT];
    const int32_t lo = ClampToField(player.fieldY - VIEW_HALF_HEIGHT);
    const int32_t hi = ClampToField(player.fieldY + VIEW_HALF_HEIGHT);
    for (int32_t i = lo; i <= hi; ++i) {
        int32_t& itemX = ItemField.itemX[i];
        const int32_t kind = ItemField.itemKind[i];
        if (std::abs(itemX - player.x) >= CENTRE_X || kind == ITEM_NONE) continue;
        player.fieldY = FieldY(player);
        const int32_t py = ItemField.itemY[i] + CENTRE_Y - player.fieldY;
        switch (kind) {
            case ITEM_CLOUD:
                PutBitmap(itemX + CENTRE_X - player.x, py, &SpriteCatalogue.Cloud);
                break;
            case ITEM_BALLOON: {
                const int32_t px = itemX + CENTRE_X - player.x;
                PutBitmap(px, py, &SpriteCatalogue.Balloon);
                PutBitmap(px + 12, py + 30, &SpriteCatalogue.BalloonString);
                break;
            }
            case ITEM_FLAPPING_BIRD:
                itemX += 6;
                PutBitmap(itemX + CENTRE_X - player.x, py,
                          frameCounter % 2 != 0 ? &SpriteCatalogue.FlappingBirdB : &SpriteCatalogue.FlappingBirdA);
                break;
            case ITEM_BIRD:
                itemX -= 7;
                PutBitmap(itemX + CENTRE_X - player.x, py, &SpriteCatalogue.Bird);
                break;
            case ITEM_RAPTOR:
                itemX -= 9;
                PutBitmap(itemX + CENTRE_X - player.x, py, &SpriteCatalogue.Raptor);
                break;
            default:
                break;
        }
    }
}

}  // namespace

void DrawScene() {
    ClearScreen();
    DrawBackground();
    DrawStatus();
    const GameObject& player = ObjectTable[PLAYER_SLOT];
    DrawCloudlets(player);
    DrawGround(player);
    ObjectTable[PLAYER_SLOT].active = frameCounter >= 81 ? 1 : 0;
    DrawObjects();
    DrawItems();
}
