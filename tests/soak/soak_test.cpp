// The soak run: its random player, its invariants, and that a run is what it claims to be.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "platform/window.h"
#include "sim/world.h"
#include "tools/soak/soak.h"

namespace {

TEST(SoakScript, IsTheSameForTheSameSeedAndDiffersForAnother) {
    const auto a = RandomScript(7, 5000), b = RandomScript(7, 5000), c = RandomScript(8, 5000);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].frame, b[i].frame);
        EXPECT_EQ(a[i].action, b[i].action);
        EXPECT_EQ(a[i].key, b[i].key);
    }
    std::ostringstream textA, textC;
    WriteScript(a, textA);
    WriteScript(c, textC);
    EXPECT_NE(textA.str(), textC.str());
}

TEST(SoakScript, HoldsArrowsLikeAPlayerAndNeverAsksTheGameToEnd) {
    const int64_t frames = 100000;
    const auto events = RandomScript(1, frames);
    std::map<uint32_t, int64_t> pressedAt;
    std::map<uint32_t, int> presses;
    int64_t last = 0, deactivatedAt = -1, together = 0, focusChanges = 0, otherKeys = 0;
    for (const ScriptEvent& e : events) {
        ASSERT_GE(e.frame, last) << "frames go forward";
        ASSERT_LT(e.frame, frames);
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
            const int64_t held = e.frame - pressedAt[e.key];
            EXPECT_GE(held, 3);
            EXPECT_LE(held, 40);
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
    for (uint32_t key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) EXPECT_GT(presses[key], 100) << key;
    EXPECT_GT(together, 100) << "two keys are held together now and then";
    EXPECT_GT(focusChanges, 20);
    EXPECT_GT(otherKeys, 50);
}

TEST(SoakScript, IsWrittenInTheReplayToolsFormat) {
    const auto events = RandomScript(3, 3000);
    std::stringstream text;
    WriteScript(events, text);
    std::vector<ScriptEvent> parsed;
    std::string error;
    ASSERT_TRUE(ParseScript(text, "soak.txt", &parsed, &error)) << error;
    ASSERT_EQ(parsed.size(), events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(parsed[i].frame, events[i].frame);
        EXPECT_EQ(parsed[i].action, events[i].action);
        if (events[i].action == ScriptAction::KeyDown || events[i].action == ScriptAction::KeyUp) {
            EXPECT_EQ(parsed[i].key, events[i].key);
        }
    }
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

TEST(SoakRun, PlaysWholeJumpsAndRepeatsExactlyFromTheSameScript) {
    const auto events = RandomScript(1, 6000);
    const SoakResult first = RunSoak(events, 6000);
    ASSERT_TRUE(first.started) << first.violation;
    EXPECT_EQ(first.violation, "");
    EXPECT_EQ(first.framesRun, 6000);
    EXPECT_GE(first.stats.landings + first.stats.crashes, 3) << "a jump lasts at most about 1300 frames";
    EXPECT_GT(first.stats.activations, 0);
    const uint32_t rngAfterFirst = rngState;

    const SoakResult second = RunSoak(events, 6000);
    EXPECT_EQ(second.stats.landings, first.stats.landings);
    EXPECT_EQ(second.stats.crashes, first.stats.crashes);
    EXPECT_EQ(second.stats.largestFormation, first.stats.largestFormation);
    EXPECT_EQ(rngState, rngAfterFirst);
}

}  // namespace
