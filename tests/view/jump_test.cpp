#include "app/frame.h"
#include "tests/view/view_fixture.h"

namespace {

// One frame's game work as the frame loop runs it, without the wait and the flip.
struct FrameOutcome {
    bool landed = false;
    bool crashed = false;
};

FrameOutcome RunFrame() {
    RestartIfRequested();
    UpdateAndDrawFrame();
    EndFrame();
    return {ObjectTable[PLAYER_SLOT].altitude < 1, crashed == 1};
}

using WholeJump = FreshScene;

TEST_F(WholeJump, FirstJumpWithNoKeysFallsThroughToTheGround) {
    int frames = 0;
    FrameOutcome outcome;
    int32_t lastAltitude = 5000;
    while (!outcome.landed && !outcome.crashed && frames < 5000) {
        DrawCalls().clear();
        outcome = RunFrame();
        ++frames;
        const GameObject& player = ObjectTable[PLAYER_SLOT];
        ASSERT_LE(player.altitude, lastAltitude);
        lastAltitude = player.altitude;
        ASSERT_GE(player.heading, 0);
        ASSERT_LE(player.heading, 37);
        for (int32_t slot = FIRST_DIVER_SLOT; slot <= LAST_DIVER_SLOT; ++slot) {
            const GameObject& diver = ObjectTable[slot];
            ASSERT_GE(diver.x, 0);
            ASSERT_LE(diver.x, 10000);
            ASSERT_GE(diver.heading, 0);
            ASSERT_LE(diver.heading, 38);
            if (diver.formationSlot > 0) {
                ASSERT_LE(diver.formationSlot, formationSize);
            }
        }
        ASSERT_LE(formationSize, 21);
        ASSERT_TRUE(DrawCalls().front().clear);
        // The status display ends every frame.
        ASSERT_TRUE(SameRect(DrawCalls().back().source, SpriteCatalogue.AltimeterPointer));
    }
    // About 80 frames aboard, 4000 units at 5.5 a frame and 1000 at 2.5: every run lands
    // the first jump in the same frame with the same balloon.
    EXPECT_TRUE(outcome.landed);
    EXPECT_FALSE(outcome.crashed);
    EXPECT_EQ(frames, 1215);
    EXPECT_EQ(balloonCount, 1);
    EXPECT_EQ(catchCount, 0);
    EXPECT_EQ(bestBalloonCount, 1);

    // The next frame begins with a fresh jump: counters cleared, the music asked for again.
    SoundRequests().clear();
    RunFrame();
    EXPECT_EQ(frameCounter, 2);
    EXPECT_EQ(balloonCount, 0);
    EXPECT_EQ(bestBalloonCount, 1);
    EXPECT_EQ(ObjectTable[PLAYER_SLOT].altitude, 5000);
    EXPECT_EQ(ObjectTable[PLAYER_SLOT].active, 0);
    EXPECT_EQ(SoundRequests(), (std::vector<SoundRequest>{{SOUND_MUSIC, PLAY_LOOP}}));
}

// Keys from a generator of the test's own, so the game's sequence is not disturbed.
int32_t ScriptedKeys(uint32_t& state) {
    state = state * 1103515245u + 12345u;
    const uint32_t r = (state >> 16) % 16;
    return r < 6 ? 0 : static_cast<int32_t>(r);
}

TEST_F(WholeJump, ManyJumpsWithScriptedKeysKeepTheWorldInRange) {
    uint32_t keyState = 7;
    int landings = 0, crashes = 0, catches = 0, keysHeld = 0;
    for (int frame = 0; frame < 40000; ++frame) {
        DrawCalls().clear();
        if (frame % 8 == 0) keysHeld = ScriptedKeys(keyState);
        ControlFlags = keysHeld;
        const int32_t catchesBefore = catchCount;
        const FrameOutcome outcome = RunFrame();
        if (catchCount > catchesBefore) catches += catchCount - catchesBefore;
        landings += outcome.landed ? 1 : 0;
        crashes += outcome.crashed ? 1 : 0;
        for (int32_t slot = 0; slot < OBJECT_SLOTS; ++slot) {
            const GameObject& o = ObjectTable[slot];
            ASSERT_GE(o.spinTimer, 0);
            if (!o.active) continue;
            ASSERT_GE(o.heading, 0) << slot;
            ASSERT_LE(o.heading, 38) << slot;
            ASSERT_GE(o.altitude, 0) << slot;
            ASSERT_LE(o.altitude, 5000) << slot;
        }
        ASSERT_LE(formationSize, 21);
        ASSERT_LE(balloonCount, 29);
    }
    // The script reaches every ending and the formation.
    EXPECT_GT(landings, 0);
    EXPECT_GT(crashes, 0);
    EXPECT_GT(catches, 0);
}

}  // namespace
