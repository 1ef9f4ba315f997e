#include "tests/sim/sim_fixture.h"

namespace {

class PlayerUpdate : public FreshWorld {
protected:
    void SetUp() override {
        FreshWorld::SetUp();
        SetUpJumpQuietly();
        player().active = 1;
    }
    static GameObject& player() { return ObjectTable[PLAYER_SLOT]; }
    // The heading after one update from `heading` with `keys` held.
    int32_t TurnFrom(int32_t heading, int32_t keys) {
        player().heading = heading;
        ControlFlags = keys;
        UpdatePlayer();
        return player().heading;
    }
};

TEST_F(PlayerUpdate, KeysTurnAndWrapTheHeading) {
    EXPECT_EQ(TurnFrom(10, CONTROL_LEFT), 11);
    EXPECT_EQ(TurnFrom(10, CONTROL_RIGHT), 9);
    EXPECT_EQ(TurnFrom(10, CONTROL_LEFT | CONTROL_RIGHT), 10);
    EXPECT_EQ(TurnFrom(35, CONTROL_LEFT), 0);
    EXPECT_EQ(TurnFrom(0, CONTROL_RIGHT), 35);
    // A spin leaves 36 or 37; both are set to 0, not brought back by 36.
    EXPECT_EQ(TurnFrom(37, 0), 0);
    EXPECT_EQ(TurnFrom(36, 0), 0);
    EXPECT_EQ(TurnFrom(37, CONTROL_LEFT), 0);
}

TEST_F(PlayerUpdate, SpeedFromRestRisesToTheSixFiveAlternation) {
    player().heading = 9;  // dx = 999 * speed / 800 shows the speed used
    player().speed = 0;
    std::vector<int32_t> used;
    for (int frame = 0; frame < 10; ++frame) {
        UpdatePlayer();
        used.push_back(player().dx);
    }
    // Speeds 0,1,2,3,4,5,6,5,6,5 through the truncating velocity.
    EXPECT_EQ(used, (std::vector<int32_t>{0, 1, 2, 3, 4, 6, 7, 6, 7, 6}));
}

TEST_F(PlayerUpdate, DownFromSpeedSixStopsTheDiverAndDives) {
    player().heading = 9;
    player().speed = 6;
    player().altitude = 3000;
    ControlFlags = CONTROL_DOWN;
    UpdatePlayer();
    EXPECT_EQ(player().dx, 1);  // speed 1
    EXPECT_EQ(player().sprite.top, 576);
    for (int frame = 0; frame < 3; ++frame) {
        UpdatePlayer();
        EXPECT_EQ(player().dx, 0);
        EXPECT_EQ(player().speed, 1);
    }
}

TEST_F(PlayerUpdate, DescentTakesOneDrawAndFollowsPostureAndDive) {
    const struct {
        int32_t altitude;
        int32_t keys;
        int32_t sinkEven;  // for an even draw
    } cases[] = {{3000, 0, 6}, {3000, CONTROL_DOWN, 11}, {1000, 0, 3}, {1000, CONTROL_DOWN, 8}};
    for (const auto& c : cases) {
        const uint32_t before = rngState;
        const int32_t draw = PeekDraw();
        player().altitude = c.altitude;
        ControlFlags = c.keys;
        UpdatePlayer();
        EXPECT_EQ(rngState, StateAfterDraws(before, 1));
        EXPECT_EQ(c.altitude - player().altitude, c.sinkEven - draw % 2) << c.altitude << " keys " << c.keys;
    }
}

TEST_F(PlayerUpdate, CanopyPictureIsChosenInTheUpdateThatCrossesAThousand) {
    SkipDrawsUntil([](int32_t d) { return d % 2 == 0; });
    player().altitude = 1003;
    player().heading = 13;
    UpdatePlayer();
    EXPECT_EQ(player().altitude, 997);
    EXPECT_EQ(player().sprite.top, 320);
    EXPECT_EQ(player().sprite.left, 256);
    EXPECT_EQ(player().sprite.bottom, 383);
}

TEST_F(PlayerUpdate, PictureBeforeTheClampAndAltitudeClampedToZero) {
    player().altitude = 4;
    player().heading = 20;
    ControlFlags = CONTROL_DOWN;
    UpdatePlayer();
    EXPECT_EQ(player().altitude, 0);
    EXPECT_EQ(player().sprite.top, 384);  // canopy, not the diving frame
    EXPECT_EQ(player().fieldY, 5000);     // 5050 and more clamped
}

TEST_F(PlayerUpdate, FieldYTruncatesNegativeYAndXIsClamped) {
    player().y = -120;
    player().altitude = 5000;
    player().x = 10007;
    UpdatePlayer();
    // -2, not -3: 5000 - 2 - (4994 or 4995).
    EXPECT_EQ(player().fieldY, -2 + 5000 - player().altitude);
    EXPECT_EQ(player().x, 10000);
}

TEST_F(PlayerUpdate, SpinningKeepsTheOldCourseWhileTheKeysStillTurn) {
    player().heading = 9;
    player().speed = 6;
    player().dx = -3;
    player().dy = 4;
    player().spinTimer = 5;
    ControlFlags = CONTROL_LEFT;
    UpdatePlayer();
    EXPECT_EQ(player().heading, 10);
    EXPECT_EQ(player().dx, -3);
    EXPECT_EQ(player().dy, 4);
    EXPECT_EQ(player().speed, 5);  // the drift still runs
}

TEST_F(PlayerUpdate, UpReleasesTheFormationOnlyAfterACatch) {
    ControlFlags = CONTROL_UP;
    ObjectTable[33].formationSlot = 1;
    UpdatePlayer();
    EXPECT_TRUE(SoundRequests().empty());
    EXPECT_EQ(ObjectTable[33].formationSlot, 1);

    formationSize = 1;
    UpdatePlayer();
    UpdatePlayer();
    // Repeats while held, even with nobody left in the formation.
    EXPECT_EQ(SoundRequests(),
              (std::vector<SoundRequest>{{SOUND_FORMATION, PLAY_ONCE}, {SOUND_FORMATION, PLAY_ONCE}}));
    for (int32_t slot = FIRST_DIVER_SLOT; slot <= LAST_DIVER_SLOT; ++slot) EXPECT_EQ(ObjectTable[slot].formationSlot, -1);
    EXPECT_EQ(formationSize, 1);
    EXPECT_EQ(ObjectTable[30].formationSlot, 0);
    EXPECT_EQ(ObjectTable[52].formationSlot, 0);
}

}  // namespace
