#include "tests/sim/sim_fixture.h"

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

using WorldTables = FreshWorld;

TEST_F(WorldTables, RngFromTheInitialStateGivesTheKnownSequence) {
    EXPECT_EQ(Rng(), 41);
    EXPECT_EQ(Rng(), 18467);
    EXPECT_EQ(Rng(), 6334);
    EXPECT_EQ(rngState, StateAfterDraws(1, 3));
}

TEST_F(WorldTables, ResetGameStateReturnsToAFreshProgram) {
    SetUpJump();
    frameCounter = 500;
    bestCatchCount = 7;
    ControlFlags = CONTROL_LEFT;
    ResetGameState();
    EXPECT_EQ(rngState, 1u);
    EXPECT_EQ(frameCounter, 0);
    EXPECT_EQ(bestCatchCount, 0);
    EXPECT_EQ(ControlFlags, 0);
    EXPECT_EQ(ObjectTable[AIRCRAFT_SLOT].active, 0);
    EXPECT_EQ(ObjectTable[40].x, 0);
    EXPECT_EQ(ItemField.itemKind[300], 0);
    EXPECT_EQ(SineTable[9], 0);
    EXPECT_EQ(Rng(), 41);
}

TEST_F(WorldTables, TablesHoldTheListedIrregularValues) {
    InitWorld();
    EXPECT_EQ(CosineTable[13], -652);
    EXPECT_EQ(CosineTable[27], -3);
    EXPECT_EQ(SineTable[18], 1);
    // Heading 36 is its own entry, not entry 0.
    EXPECT_EQ(SineTable[36], -4);
    EXPECT_EQ(CosineTable[36], 999);
}

TEST_F(WorldTables, VelocityTruncatesTowardZero) {
    InitWorld();
    GameObject o{};
    o.speed = 6;
    o.heading = 9;
    SetVelocity(o);
    EXPECT_EQ(o.dx, 7);
    EXPECT_EQ(o.dy, 0);
    o.heading = 27;
    SetVelocity(o);
    EXPECT_EQ(o.dx, -7);
    EXPECT_EQ(o.dy, 0);  // -3 * 6 / 800 truncates to 0, not -1
    o.heading = 4;
    SetVelocity(o);
    EXPECT_EQ(o.dx, 4);
    EXPECT_EQ(o.dy, 5);
    o.speed = 20;
    o.heading = 36;
    SetVelocity(o);
    EXPECT_EQ(o.dx, 0);
    EXPECT_EQ(o.dy, 24);
}

TEST_F(WorldTables, FieldYIsUnclampedAndTruncatesNegativeY) {
    GameObject o{};
    o.y = 2500;
    o.altitude = 5000;
    EXPECT_EQ(FieldY(o), 50);
    o.altitude = 0;
    EXPECT_EQ(FieldY(o), 5050);
    o.y = -120;
    o.altitude = 5000;
    EXPECT_EQ(FieldY(o), -2);
    o.y = 2500;
    o.altitude = 4994;
    EXPECT_EQ(FieldY(o), 56);
}

TEST_F(WorldTables, PosturesPickTheSheetFrames) {
    EXPECT_TRUE(SameRect(PostureFrame(POSTURE_FREE_FALL, 0), RECT{0, 512, 32, 544}));
    EXPECT_TRUE(SameRect(PostureFrame(POSTURE_FREE_FALL, 35), RECT{544, 544, 576, 576}));
    EXPECT_TRUE(SameRect(PostureFrame(POSTURE_DIVING, 20), RECT{64, 608, 96, 640}));
    EXPECT_TRUE(SameRect(PostureFrame(POSTURE_CANOPY, 13), RECT{256, 320, 320, 383}));
    EXPECT_TRUE(SameRect(PostureFrame(POSTURE_CANOPY, 35), RECT{512, 448, 576, 511}));
    EXPECT_TRUE(SameRect(PostureFrame(POSTURE_AIRCRAFT, 10), RECT{64, 64, 128, 127}));
    EXPECT_TRUE(SameRect(PostureFrame(POSTURE_AIRCRAFT, 35), RECT{512, 192, 576, 255}));

    EXPECT_EQ(DiverPosture(1001, false), POSTURE_FREE_FALL);
    EXPECT_EQ(DiverPosture(1001, true), POSTURE_DIVING);
    EXPECT_EQ(DiverPosture(1000, true), POSTURE_CANOPY);  // no diving picture under canopy
}

}  // namespace
