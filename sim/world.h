#pragma once
// Everything the game remembers: the object table, the item field, the counters, the held
// keys, the fixed tables and the random source. All of it is plain global data.
#include <cstdint>

#include "platform/rect.h"

struct GameObject {
    int32_t active;         // nonzero: moved and drawn
    int32_t x;              // across the screen, 0..10000 for player and divers
    int32_t y;              // on the ground plane; reaches the screen only divided by 50
    int32_t fieldY;         // y / 50 + 5000 - altitude: the screen's and item field's vertical
    RECT sprite;            // the sheet picture drawn for the object
    int32_t dx;             // change of x per frame
    int32_t dy;             // change of y per frame
    int32_t heading;        // steps of 10 degrees; 0 moves along +y, 9 along +x
    int32_t speed;
    int32_t spinTimer;      // frames of spin left after a canopy collision
    int32_t altitude;       // 0..5000; under canopy from 1000 down
    int32_t formationSlot;  // 0 free, n > 0 n-th gripped diver, -1 released or opening
};

constexpr int32_t OBJECT_SLOTS = 256;
constexpr int32_t PLAYER_SLOT = 0;
constexpr int32_t AIRCRAFT_SLOT = 2;
constexpr int32_t FIRST_DIVER_SLOT = 31;
constexpr int32_t LAST_DIVER_SLOT = 51;
extern GameObject ObjectTable[OBJECT_SLOTS];

enum ItemKind : int32_t { ITEM_NONE = 0, ITEM_CLOUD = 1, ITEM_BALLOON = 2, ITEM_FLAPPING_BIRD = 3, ITEM_BIRD = 4, ITEM_RAPTOR = 5 };

// Indices 1..ITEM_COUNT are used; an item's index is its fieldY (indices 1..200 double as
// the parallax cloudlets).
constexpr int32_t ITEM_COUNT = 5000;
constexpr int32_t CLOUDLET_COUNT = 200;
struct ItemFieldArrays {
    int32_t itemX[ITEM_COUNT + 1];
    int32_t itemY[ITEM_COUNT + 1];
    int32_t itemKind[ITEM_COUNT + 1];
};
extern ItemFieldArrays ItemField;

// Held keys, set by the window procedure.
enum ControlBit : int32_t { CONTROL_LEFT = 1, CONTROL_RIGHT = 2, CONTROL_UP = 4, CONTROL_DOWN = 8 };
extern int32_t ControlFlags;

extern int32_t frameCounter;
extern int32_t restartRequested;
extern int32_t crashed;
extern int32_t balloonCount;
extern int32_t bestBalloonCount;
extern int32_t catchCount;
extern int32_t bestCatchCount;
extern int32_t formationSize;

constexpr int32_t HEADING_STEPS = 37;  // 0..35 plus the 36 that the aircraft and divers may hold
extern int32_t SineTable[HEADING_STEPS];
extern int32_t CosineTable[HEADING_STEPS];

struct SpriteCatalogueRects {
    RECT AltimeterScale, AltimeterPointer, AltimeterTick;
    RECT BalloonStarBig, BalloonStarSmall, CatchStarBig, CatchStarSmall;
    RECT GroundTile, LandingMark, FarCloudlet, NearCloudlet;
    RECT Cloud, Balloon, BalloonString, FlappingBirdA, FlappingBirdB, Bird, Raptor;
    RECT CanopyOpening1, CanopyOpening2, CanopyOpening3;
};
extern SpriteCatalogueRects SpriteCatalogue;

constexpr int32_t TILE_KINDS = 12;
constexpr int32_t TILE_MAP_COLUMNS = 12;
constexpr int32_t TILE_MAP_ROWS = 8;
extern RECT TileRects[TILE_KINDS];
extern const int8_t TileMap[TILE_MAP_ROWS * TILE_MAP_COLUMNS];

// The one random source, never seeded; exposed so traces can show where a run stands.
extern uint32_t rngState;
// Advances the state; returns 0..32767.
int32_t Rng();

// Everything above back to the state of a fresh program: all zero, rngState 1.
void ResetGameState();

// dx and dy from the object's heading and speed.
void SetVelocity(GameObject& object);
// The fieldY formula, unclamped.
int32_t FieldY(const GameObject& object);

enum Posture : int32_t { POSTURE_AIRCRAFT, POSTURE_CANOPY, POSTURE_FREE_FALL, POSTURE_DIVING };
// The diver posture for an altitude: canopy from 1000 down, else diving or free fall.
Posture DiverPosture(int32_t altitude, bool diving);
// The sheet frame of a posture for heading 0..35.
RECT PostureFrame(Posture posture, int32_t heading);

// The jump setup's fixed values, also what the fixed tables are checked against.
extern const int32_t SINE_VALUES[HEADING_STEPS];
extern const int32_t COSINE_VALUES[HEADING_STEPS];
extern const SpriteCatalogueRects SPRITE_CATALOGUE_VALUES;
constexpr RECT BACKDROP_TILE = {576, 0, 640, 64};
