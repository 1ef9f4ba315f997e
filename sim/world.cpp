#include "sim/world.h"

#include <cassert>
#include <cstring>

GameObject ObjectTable[OBJECT_SLOTS];
ItemFieldArrays ItemField;
int32_t ControlFlags;

int32_t frameCounter;
int32_t restartRequested;
int32_t crashed;
int32_t balloonCount;
int32_t bestBalloonCount;
int32_t catchCount;
int32_t bestCatchCount;
int32_t formationSize;

int32_t SineTable[HEADING_STEPS];
int32_t CosineTable[HEADING_STEPS];
SpriteCatalogueRects SpriteCatalogue;
RECT TileRects[TILE_KINDS];

uint32_t rngState = 1;

// Hand-tuned values, not computed sines: several entries differ from the rounded ones and
// the game's courses depend on exactly these.
const int32_t SINE_VALUES[HEADING_STEPS] = {
    0,    173,  341,  499,  642,  765,  865,  939,  984,  999,  984,  940,  866,
    766,  643,  501,  343,  175,  1,    -172, -341, -499, -642, -765, -865, -939,
    -985, -1000, -986, -941, -868, -768, -645, -503, -345, -177, -4};
const int32_t COSINE_VALUES[HEADING_STEPS] = {
    999,  984,  939,  864,  766,  640,  500,  342,  174,  0,    -173, -343, -500,
    -652, -766, -866, -940, -985, -1000, -986, -941, -867, -768, -645, -502, -345,
    -176, -3,   171,  339,  497,  640,  764,  864,  938,  984,  999};

const SpriteCatalogueRects SPRITE_CATALOGUE_VALUES = {
    /* AltimeterScale */ {580, 555, 609, 635},
    /* AltimeterPointer */ {611, 579, 631, 590},
    /* AltimeterTick */ {580, 530, 590, 545},
    /* BalloonStarBig */ {576, 472, 607, 498},
    /* BalloonStarSmall */ {576, 503, 607, 530},
    /* CatchStarBig */ {608, 472, 639, 498},
    /* CatchStarSmall */ {608, 503, 639, 530},
    /* GroundTile */ {576, 64, 640, 127},
    /* LandingMark */ {608, 394, 636, 414},
    /* FarCloudlet */ {576, 193, 607, 216},
    /* NearCloudlet */ {576, 160, 640, 191},
    /* Cloud */ {576, 129, 640, 160},
    /* Balloon */ {576, 217, 607, 255},
    /* BalloonString */ {632, 585, 639, 634},
    /* FlappingBirdA */ {577, 410, 607, 462},
    /* FlappingBirdB */ {607, 410, 638, 462},
    /* Bird */ {612, 529, 639, 578},
    /* Raptor */ {576, 320, 639, 383},
    /* CanopyOpening1 */ {576, 256, 587, 319},
    /* CanopyOpening2 */ {590, 256, 614, 319},
    /* CanopyOpening3 */ {617, 256, 639, 319},
};

// Only rows 0..7 are ever read; every tile number shows the same backdrop.
const int8_t TileMap[TILE_MAP_ROWS * TILE_MAP_COLUMNS] = {
    0,  0,  0,  0,  0,  0,  0,  0, 0, 0, 0, 0,  //
    0,  0,  0,  0,  0,  0,  0,  3, 3, 3, 3, 3,  //
    0,  0,  0,  0,  0,  11, 8,  1, 1, 1, 1, 1,  //
    0,  0,  0,  0,  11, 1,  1,  1, 1, 1, 1, 1,  //
    0,  0,  0,  11, 1,  1,  1,  1, 1, 1, 1, 1,  //
    0,  0,  11, 1,  1,  1,  1,  1, 1, 1, 1, 1,  //
    0,  11, 1,  1,  1,  1,  1,  1, 1, 1, 1, 1,  //
    11, 1,  1,  1,  1,  1,  1,  1, 1, 1, 1, 1,
};

int32_t Rng() {
    rngState = rngState * 214013u + 2531011u;
    return static_cast<int32_t>((rngState >> 16) & 0x7FFF);
}

void ResetGameState() {
    std::memset(ObjectTable, 0, sizeof ObjectTable);
    std::memset(&ItemField, 0, sizeof ItemField);
    ControlFlags = 0;
    frameCounter = 0;
    restartRequested = 0;
    crashed = 0;
    balloonCount = 0;
    bestBalloonCount = 0;
    catchCount = 0;
    bestCatchCount = 0;
    formationSize = 0;
    std::memset(SineTable, 0, sizeof SineTable);
    std::memset(CosineTable, 0, sizeof CosineTable);
    std::memset(&SpriteCatalogue, 0, sizeof SpriteCatalogue);
    std::memset(TileRects, 0, sizeof TileRects);
    rngState = 1;
}

void SetVelocity(GameObject& object) {
    assert(object.heading >= 0 && object.heading < HEADING_STEPS);
    // Speeds stay within a few tens, so the products are far from overflow.
    object.dx = SineTable[object.heading] * object.speed / 800;
    object.dy = CosineTable[object.heading] * object.speed / 800;
}

int32_t FieldY(const GameObject& object) { return object.y / 50 + 5000 - object.altitude; }

Posture DiverPosture(int32_t altitude, bool diving) {
    if (altitude <= 1000) return POSTURE_CANOPY;
    return diving ? POSTURE_DIVING : POSTURE_FREE_FALL;
}

RECT PostureFrame(Posture posture, int32_t heading) {
    assert(heading >= 0 && heading < 36);
    switch (posture) {
        case POSTURE_AIRCRAFT: {
            const int32_t left = 64 * (heading % 9), top = 64 * (heading / 9);
            return {left, top, left + 64, top + 63};
        }
        case POSTURE_CANOPY: {
            const int32_t left = 64 * (heading % 9), top = 256 + 64 * (heading / 9);
            return {left, top, left + 64, top + 63};
        }
        case POSTURE_FREE_FALL: {
            const int32_t left = 32 * (heading % 18), top = 512 + 32 * (heading / 18);
            return {left, top, left + 32, top + 32};
        }
        case POSTURE_DIVING: {
            const int32_t left = 32 * (heading % 18), top = 576 + 32 * (heading / 18);
            return {left, top, left + 32, top + 32};
        }
    }
    return {};
}
