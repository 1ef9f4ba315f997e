// The soak run: its random player, its invariants, and that a run is what it claims to be.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "platform/window.h"
#include "sim/world.h"
#include "tools/replay/replay.h"
#include "tools/soak/soak.h"

namespace {

TEST(SoakRun, PlaysLikeAPlayerThroughWholeJumpsAndFormationsAndNeverAsksTheGameToEnd) {
    const SoakResult run = RunSoak(1, 12000);
    ASSERT_TRUE(run.started) << run.violation;
    EXPECT_EQ(run.violation, "");
    EXPECT_EQ(run.framesRun, 12000);
    EXPECT_GE(run.stats.landings, 1);
    EXPECT_GE(run.stats.crashes, 1);
    EXPECT_GE(run.stats.canopyCollisions, 1);
    EXPECT_GE(run.stats.largestFormation, 3) << "chasing the divers catches some";
    EXPECT_GT(run.stats.activations, 3);

    const auto& events = run.events;
    std::map<uint32_t, int64_t> pressedAt;
    std::map<uint32_t, int> presses;
    int64_t last = 0, deactivatedAt = -1, together = 0, focusChanges = 0, otherKeys = 0, longest = 0;
    for (const ScriptEvent& e : events) {
        ASSERT_GE(e.frame, last) << "frames go forward";
        ASSERT_LT(e.frame, 12000);
        last = e.frame;
        ASSERT_NE(e.action, ScriptAction::Close);
        const bool arrow = e.key >= VK_LEFT && e.key <= VK_DOWN;
        if (e.action == ScriptAction::KeyDown) {
            ASSERT_NE(e.key, uint32_t{VK_ESCAPE});
            if (!arrow) {
                ++otherKeys;
                continue;
            }
            ASSERT_EQ(pressedAt.count(e.key), 0u) << "a held key is not pressed again";
            if (!pressedAt.empty()) ++together;
            pressedAt[e.key] = e.frame;
            ++presses[e.key];
        } else if (e.action == ScriptAction::KeyUp && arrow) {
            ASSERT_EQ(pressedAt.count(e.key), 1u) << "only held keys are let go";
            EXPECT_GE(e.frame - pressedAt[e.key], 1);
            longest = std::max(longest, e.frame - pressedAt[e.key]);
            pressedAt.erase(e.key);
        } else if (e.action == ScriptAction::Deactivate) {
            ASSERT_LT(deactivatedAt, 0) << "one focus change at a time";
            deactivatedAt = e.frame;
        } else if (e.action == ScriptAction::Activate) {
            ASSERT_GE(deactivatedAt, 0);
            EXPECT_LE(e.frame - deactivatedAt, 100);
            deactivatedAt = -1;
            ++focusChanges;
        }
    }
    for (uint32_t key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) EXPECT_GT(presses[key], 10) << key;
    EXPECT_GT(longest, 40) << "a chase holds its keys for as long as it needs";
    EXPECT_GT(together, 10) << "two keys are held together now and then";
    EXPECT_GT(focusChanges, 3);
    EXPECT_GT(otherKeys, 8);
}

TEST(SoakRun, RepeatsExactlyFromItsSeedAndReplaysFromItsWrittenScript) {
    const SoakResult first = RunSoak(7, 1500);
    const uint32_t rngAfterFirst = rngState;
    const GameObject playerAfterFirst = ObjectTable[PLAYER_SLOT];
    const SoakResult second = RunSoak(7, 1500);
    ASSERT_EQ(second.events.size(), first.events.size());
    EXPECT_EQ(rngState, rngAfterFirst);
    EXPECT_NE(RunSoak(8, 1500).events.size(), first.events.size()) << "another seed, another run";

    // The script it writes makes skyring-replay play the same game.
    std::stringstream text;
    WriteScript(first.events, text);
    ReplayOptions options;
    options.frames = 1500;
    std::string error;
    ASSERT_TRUE(ParseScript(text.str(), "soak.txt", &options.events, &error)) << error;
    ASSERT_EQ(options.events.size(), first.events.size());
    const ReplayResult replay = RunReplay(options);
    ASSERT_TRUE(replay.started) << replay.error;
    EXPECT_EQ(replay.framesRun, 1500);
    EXPECT_EQ(rngState, rngAfterFirst);
    EXPECT_EQ(ObjectTable[PLAYER_SLOT].x, playerAfterFirst.x);
    EXPECT_EQ(ObjectTable[PLAYER_SLOT].fieldY, playerAfterFirst.fieldY);
    EXPECT_EQ(ObjectTable[PLAYER_SLOT].heading, playerAfterFirst.heading);
}

class SoakChecks : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGameState();
        ObjectTable[PLAYER_SLOT] = GameObject{1, 5000, 2500, 50, {}, 0, 0, 35, 9, 0, 5000, 0};
        for (int32_t s = FIRST_DIVER_SLOT; s <= LAST_DIVER_SLOT; ++s) {
            ObjectTable[s] = GameObject{1, 10000, 2500, 5000, {}, 0, 0, 36, 6, 0, 0, 0};
        }
        ObjectTable[AIRCRAFT_SLOT].heading = 36;
        for (int32_t i = 1; i <= ITEM_COUNT; ++i) ItemField.itemKind[i] = i % 6;
        balloonCount = catchCount = bestBalloonCount = bestCatchCount = 29;
        formationSize = 21;
    }
    void TearDown() override { ResetGameState(); }
};

TEST_F(SoakChecks, AcceptEveryValueAtTheEdgesOfItsRange) {
    EXPECT_EQ(CheckAfterUpdates(), "");
    EXPECT_EQ(CheckAfterFrame(), "");
}

TEST_F(SoakChecks, NameThePlayerValueThatLeftItsRangeInTheUpdates) {
    ObjectTable[PLAYER_SLOT].heading = 36;
    EXPECT_EQ(CheckAfterUpdates(), "player heading is 36, outside 0..35");
    ObjectTable[PLAYER_SLOT].heading = 0;
    ObjectTable[PLAYER_SLOT].speed = 10;
    EXPECT_EQ(CheckAfterUpdates(), "player speed is 10, outside 1..9");
    ObjectTable[PLAYER_SLOT].speed = 5;
    ObjectTable[PLAYER_SLOT].fieldY = 5050;  // a landed player's, as the scene pass leaves it
    EXPECT_EQ(CheckAfterUpdates(), "player fieldY is 5050, outside 0..5000");
    ObjectTable[PLAYER_SLOT].fieldY = 0;
    ObjectTable[PLAYER_SLOT].x = -1;
    EXPECT_EQ(CheckAfterUpdates(), "player x is -1, outside 0..10000");
    ObjectTable[PLAYER_SLOT].x = 0;
    ObjectTable[AIRCRAFT_SLOT].heading = 37;
    EXPECT_EQ(CheckAfterUpdates(), "aircraft heading is 37, outside 0..36");
}

TEST_F(SoakChecks, NameTheDiverCountOrItemThatLeftItsRangeInTheFrame) {
    ObjectTable[40].fieldY = 5001;
    EXPECT_EQ(CheckAfterFrame(), "diver fieldY of slot 40 is 5001, outside 0..5000");
    ObjectTable[40].fieldY = 0;
    ObjectTable[51].heading = 38;  // as a spin leaves it, before the owner's update
    EXPECT_EQ(CheckAfterFrame(), "diver heading of slot 51 is 38, outside 0..36");
    ObjectTable[51].heading = 0;
    ObjectTable[31].altitude = -3;
    EXPECT_EQ(CheckAfterFrame(), "diver altitude of slot 31 is -3, outside 0..5000");
    ObjectTable[31].altitude = 0;
    balloonCount = 30;
    EXPECT_EQ(CheckAfterFrame(), "balloonCount is 30, outside 0..29");
    balloonCount = 0;
    formationSize = 22;
    EXPECT_EQ(CheckAfterFrame(), "formationSize is 22, outside 0..21");
    formationSize = 0;
    ItemField.itemKind[5000] = 6;
    EXPECT_EQ(CheckAfterFrame(), "itemKind 5000 is 6, outside 0..5");
    ItemField.itemKind[5000] = 0;
    ItemField.itemKind[1] = -1;
    EXPECT_EQ(CheckAfterFrame(), "itemKind 1 is -1, outside 0..5");
}

}  // namespace
