#include "tests/sim/sim_fixture.h"

namespace {

using JumpSetup = FreshWorld;

TEST_F(JumpSetup, FirstJumpOfARunBuildsTheKnownField) {
    SetUpJump();

    int32_t counts[6] = {};
    for (int32_t i = 201; i <= ITEM_COUNT; ++i) ++counts[ItemField.itemKind[i]];
    EXPECT_EQ(counts[ITEM_NONE], 0);
    EXPECT_EQ(counts[ITEM_CLOUD], 4314);
    EXPECT_EQ(counts[ITEM_BALLOON], 142);
    EXPECT_EQ(counts[ITEM_FLAPPING_BIRD], 165);
    EXPECT_EQ(counts[ITEM_BIRD], 137);
    EXPECT_EQ(counts[ITEM_RAPTOR], 42);

    int32_t firstNonCloud = 0, firstBalloon = 0, firstRaptor = 0;
    for (int32_t i = ITEM_COUNT; i >= 201; --i) {
        if (ItemField.itemKind[i] != ITEM_CLOUD) firstNonCloud = i;
        if (ItemField.itemKind[i] == ITEM_BALLOON) firstBalloon = i;
        if (ItemField.itemKind[i] == ITEM_RAPTOR) firstRaptor = i;
    }
    EXPECT_EQ(firstNonCloud, 232);
    EXPECT_EQ(ItemField.itemKind[232], ITEM_BIRD);
    EXPECT_EQ(ItemField.itemX[232], 7636);
    EXPECT_EQ(firstBalloon, 257);
    EXPECT_EQ(ItemField.itemX[257], 9220);
    EXPECT_EQ(firstRaptor, 263);
    EXPECT_EQ(ItemField.itemX[263], 238);

    for (int32_t i = 1; i <= ITEM_COUNT; ++i) ASSERT_EQ(ItemField.itemY[i], i <= 200 ? 4 * i : i) << i;
    for (int32_t i = 1; i <= 200; ++i) ASSERT_EQ(ItemField.itemKind[i], ITEM_CLOUD) << i;
    EXPECT_EQ(ItemField.itemX[1], 293);
    EXPECT_EQ(ItemField.itemY[1], 4);
    EXPECT_EQ(ItemField.itemKind[0], 0);

    EXPECT_EQ(ObjectTable[31].x, 4312);
    EXPECT_EQ(ObjectTable[31].altitude, 4511);
    EXPECT_EQ(ObjectTable[32].x, 3676);
    EXPECT_EQ(ObjectTable[32].altitude, 4676);
    EXPECT_EQ(ObjectTable[51].x, 6817);
    EXPECT_EQ(ObjectTable[51].altitude, 4202);

    EXPECT_EQ(rngState, StateAfterDraws(1, 25264));
}

TEST_F(JumpSetup, PlacesPlayerAircraftAndDiversAndStartsTheMusic) {
    SetUpJump();
    const GameObject& player = ObjectTable[PLAYER_SLOT];
    const GameObject& aircraft = ObjectTable[AIRCRAFT_SLOT];
    EXPECT_EQ(player.active, 1);
    EXPECT_EQ(player.x, 5000);
    EXPECT_EQ(player.y, 2500);
    EXPECT_EQ(player.altitude, 5000);
    EXPECT_EQ(player.sprite.top, 512);
    EXPECT_EQ(player.sprite.left, 32);
    EXPECT_EQ(aircraft.active, 1);
    EXPECT_EQ(aircraft.x, 5000);
    EXPECT_EQ(aircraft.heading, 9);
    EXPECT_EQ(aircraft.speed, 20);
    for (int32_t slot = 0; slot < OBJECT_SLOTS; ++slot) {
        const bool diver = slot >= FIRST_DIVER_SLOT && slot <= LAST_DIVER_SLOT;
        EXPECT_EQ(ObjectTable[slot].active, slot == PLAYER_SLOT || slot == AIRCRAFT_SLOT || diver ? 1 : 0) << slot;
        if (!diver) continue;
        EXPECT_GE(ObjectTable[slot].x, 3000);
        EXPECT_LE(ObjectTable[slot].x, 6999);
        EXPECT_GE(ObjectTable[slot].altitude, 4201);
        EXPECT_LE(ObjectTable[slot].altitude, 5000);
        EXPECT_EQ(ObjectTable[slot].y, 2500);
    }
    EXPECT_EQ(TileRects[11].left, 576);
    EXPECT_EQ(TileRects[11].bottom, 64);
    EXPECT_EQ(SpriteCatalogue.CanopyOpening3.left, 617);
    ASSERT_EQ(SoundRequests().size(), 1u);
    EXPECT_EQ(SoundRequests()[0], (SoundRequest{SOUND_MUSIC, PLAY_LOOP}));
}

TEST_F(JumpSetup, ClearsTheJumpButKeepsTheRunAndCarriedFields) {
    SetUpJump();
    // The end of a jump as play might leave it.
    balloonCount = 4;
    catchCount = 3;
    formationSize = 3;
    crashed = 1;
    ControlFlags = CONTROL_DOWN;
    bestBalloonCount = 6;
    bestCatchCount = 2;
    frameCounter = 700;
    restartRequested = 1;
    ObjectTable[40].heading = 17;
    ObjectTable[40].speed = 5;
    ObjectTable[40].spinTimer = 9;
    ObjectTable[40].formationSlot = 2;
    ObjectTable[40].dx = 3;
    ObjectTable[AIRCRAFT_SLOT].sprite = RECT{128, 192, 192, 255};
    ObjectTable[7].active = 1;
    ObjectTable[7].x = 77;
    ObjectTable[PLAYER_SLOT].spinTimer = 5;
    ItemField.itemKind[0] = 0;

    SetUpJump();

    EXPECT_EQ(balloonCount, 0);
    EXPECT_EQ(catchCount, 0);
    EXPECT_EQ(formationSize, 0);
    EXPECT_EQ(crashed, 0);
    EXPECT_EQ(ControlFlags, 0);
    EXPECT_EQ(bestBalloonCount, 6);
    EXPECT_EQ(bestCatchCount, 2);
    EXPECT_EQ(frameCounter, 700);
    EXPECT_EQ(restartRequested, 1);
    EXPECT_EQ(ObjectTable[40].heading, 17);
    EXPECT_EQ(ObjectTable[40].speed, 5);
    EXPECT_EQ(ObjectTable[40].spinTimer, 9);
    EXPECT_EQ(ObjectTable[40].formationSlot, 0);
    EXPECT_EQ(ObjectTable[40].dx, 0);
    EXPECT_EQ(ObjectTable[AIRCRAFT_SLOT].sprite.left, 128);
    EXPECT_EQ(ObjectTable[7].active, 0);
    EXPECT_EQ(ObjectTable[7].x, 77);
    EXPECT_EQ(ObjectTable[PLAYER_SLOT].spinTimer, 0);
    // The second jump continues the sequence, so its world differs from the first.
    EXPECT_EQ(rngState, StateAfterDraws(1, 2 * 25264));
    EXPECT_EQ(SoundRequests().size(), 2u);
}

TEST_F(JumpSetup, ResetPlayerWritesOnlyThePositionAndMotion) {
    GameObject& player = ObjectTable[PLAYER_SLOT];
    player.active = 1;
    player.sprite = RECT{1, 2, 3, 4};
    player.dx = 5;
    player.dy = -6;
    player.x = 10;
    player.y = -300;
    player.fieldY = 17;
    player.altitude = 200;
    player.heading = 30;
    player.speed = 9;
    player.spinTimer = 4;
    player.formationSlot = -1;
    ResetPlayer();
    EXPECT_EQ(player.x, 5000);
    EXPECT_EQ(player.y, 2500);
    EXPECT_EQ(player.fieldY, 5000);
    EXPECT_EQ(player.altitude, 5000);
    EXPECT_EQ(player.heading, 0);
    EXPECT_EQ(player.speed, 0);
    EXPECT_EQ(player.spinTimer, 0);
    EXPECT_EQ(player.formationSlot, 0);
    EXPECT_EQ(player.active, 1);
    EXPECT_EQ(player.sprite.left, 1);
    EXPECT_EQ(player.dx, 5);
    EXPECT_EQ(player.dy, -6);
    EXPECT_EQ(rngState, 1u);
}

}  // namespace
