#include <cstring>

#include "sim/sim.h"
#include "sound/play.h"

namespace {

constexpr RECT PLAYER_START_PICTURE = {32, 512, 64, 544};

// Every try is drawn whatever the earlier ones gave, so the field depends on the draw count.
void BuildItemField() {
    for (int32_t i = 1; i <= ITEM_COUNT; ++i) {
        ItemField.itemX[i] = Rng() % 10000;
        ItemField.itemY[i] = i;
        ItemField.itemKind[i] = ITEM_CLOUD;
        if (Rng() % 30 == 1) ItemField.itemKind[i] = ITEM_BALLOON;
        if (Rng() % 30 == 1) ItemField.itemKind[i] = ITEM_FLAPPING_BIRD;
        if (Rng() % 30 == 1) ItemField.itemKind[i] = ITEM_BIRD;
        if (Rng() % 100 == 1) ItemField.itemKind[i] = ITEM_RAPTOR;
    }
    for (int32_t i = 1; i <= CLOUDLET_COUNT; ++i) {
        ItemField.itemX[i] = Rng() % 800;
        ItemField.itemY[i] = 4 * i;
        ItemField.itemKind[i] = ITEM_CLOUD;
    }
}

}  // namespace

void SetUpJump() {
    InitWorld();
    InitAircraftAndDivers();
}

void ResetPlayer() {
    GameObject& player = ObjectTable[PLAYER_SLOT];
    player.x = 5000;
    player.y = 2500;
    player.fieldY = 5000;
    player.altitude = 5000;
    player.heading = 0;
    player.speed = 0;
    player.spinTimer = 0;
    player.formationSlot = 0;
}

void InitWorld() {
    balloonCount = 0;
    catchCount = 0;
    ResetPlayer();
    ControlFlags = 0;
    for (GameObject& object : ObjectTable) object.active = 0;
    GameObject& player = ObjectTable[PLAYER_SLOT];
    player.active = 1;
    player.dx = 0;
    player.dy = 0;
    SpriteCatalogue = SPRITE_CATALOGUE_VALUES;
    BuildItemField();
    formationSize = 0;
    crashed = 0;
    player.sprite = PLAYER_START_PICTURE;
    for (RECT& tile : TileRects) tile = BACKDROP_TILE;
    std::memcpy(SineTable, SINE_VALUES, sizeof SineTable);
    std::memcpy(CosineTable, COSINE_VALUES, sizeof CosineTable);
}

// Divers keep heading, speed and spin timer from the jump before, and the aircraft its
// picture: only the fields named here are set.
void InitAircraftAndDivers() {
    GameObject& aircraft = ObjectTable[AIRCRAFT_SLOT];
    aircraft.active = 1;
    Rng();
    aircraft.x = 5000;
    aircraft.y = 2500;
    aircraft.fieldY = 5000;
    aircraft.altitude = 5000;
    aircraft.heading = 9;
    aircraft.dx = 0;
    aircraft.dy = 0;
    aircraft.speed = 20;
    aircraft.formationSlot = 0;

    for (int32_t slot = FIRST_DIVER_SLOT; slot <= LAST_DIVER_SLOT; ++slot) {
        GameObject& diver = ObjectTable[slot];
        diver.active = 1;
        Rng();
        diver.x = 3000 + Rng() % 4000;
        diver.y = 2500;
        diver.fieldY = 5000;
        diver.altitude = 5000 - Rng() % 800;
        diver.dx = 0;
        diver.dy = 0;
        diver.formationSlot = 0;
        diver.sprite = PLAYER_START_PICTURE;
    }
    PlaySoundObject(SOUND_MUSIC, PLAY_LOOP);
}
