#include "tests/sim/sim_fixture.h"

namespace {

class Contacts : public FreshWorld {
protected:
    void SetUp() override {
        FreshWorld::SetUp();
        SetUpJumpQuietly();
        ParkDivers();
        // An empty sky around the player.
        for (int32_t i = 1; i <= ITEM_COUNT; ++i) ItemField.itemKind[i] = ITEM_CLOUD;
        player().x = 5000;
        player().fieldY = 2000;
        player().altitude = 3000;
    }
    static GameObject& player() { return ObjectTable[PLAYER_SLOT]; }
    // An active diver at the given offset from the player.
    static GameObject& DiverAt(int32_t slot, int32_t offX, int32_t offFieldY) {
        GameObject& d = ObjectTable[slot];
        d = GameObject{};
        d.active = 1;
        d.x = player().x + offX;
        d.fieldY = player().fieldY + offFieldY;
        return d;
    }
    static void PutItem(int32_t index, int32_t kind, int32_t offX) {
        ItemField.itemKind[index] = kind;
        ItemField.itemX[index] = player().x + offX;
    }
};

TEST_F(Contacts, ReachIsASumOfDifferencesBelowThirty) {
    GameObject& far = DiverAt(31, 20, 10);
    GameObject& near = DiverAt(32, -20, -9);
    ResolveContacts();
    EXPECT_EQ(far.formationSlot, 0);
    EXPECT_EQ(near.formationSlot, 1);
    EXPECT_EQ(catchCount, 1);
    EXPECT_EQ(formationSize, 1);
    EXPECT_EQ(SoundRequests(), (std::vector<SoundRequest>{{SOUND_FORMATION, PLAY_ONCE}}));
}

TEST_F(Contacts, AltitudeThousandCatchesAndNineNinetyNineCollides) {
    GameObject& d = DiverAt(35, 5, 5);
    player().altitude = 1000;
    ResolveContacts();
    EXPECT_EQ(d.formationSlot, 1);
    EXPECT_EQ(d.spinTimer, 0);

    DiverAt(35, 5, 5);
    d.dx = 4;
    d.dy = -3;
    player().altitude = 999;
    SoundRequests().clear();
    ResolveContacts();
    EXPECT_EQ(d.formationSlot, 0);
    EXPECT_EQ(d.spinTimer, 20);
    EXPECT_EQ(player().spinTimer, 20);
    EXPECT_EQ(d.dx, -4);
    EXPECT_EQ(d.dy, 3);
    EXPECT_EQ(crashed, 0);  // never in the collision's own frame
    EXPECT_EQ(SoundRequests(), (std::vector<SoundRequest>{{SOUND_CANOPY_COLLISION, PLAY_ONCE}}));
}

TEST_F(Contacts, CanopyCollisionsRepeatForEachFreshDiverButNotForASpinningOne) {
    player().altitude = 500;
    GameObject& first = DiverAt(31, 0, 0);
    GameObject& second = DiverAt(40, 1, 1);
    second.spinTimer = 5;
    ResolveContacts();
    EXPECT_EQ(first.spinTimer, 20);
    EXPECT_EQ(second.spinTimer, 5);
    EXPECT_EQ(SoundRequests().size(), 1u);

    player().spinTimer = 12;  // the player's own spin is no condition
    second.spinTimer = 0;
    ResolveContacts();
    EXPECT_EQ(second.spinTimer, 20);
    EXPECT_EQ(player().spinTimer, 20);
    EXPECT_EQ(SoundRequests().size(), 2u);
}

TEST_F(Contacts, SpinningDiverAtOneLosesTheJumpWhereverItIs) {
    player().altitude = 500;
    GameObject& d = DiverAt(45, 3000, 0);
    d.spinTimer = 1;
    ResolveContacts();
    EXPECT_EQ(crashed, 1);
    // Free fall does not look at spin timers.
    crashed = 0;
    player().altitude = 2000;
    ResolveContacts();
    EXPECT_EQ(crashed, 0);
}

TEST_F(Contacts, FormationIsLimitedToTwentyOneDivers) {
    DiverAt(31, 0, 0);
    formationSize = 20;
    ResolveContacts();
    EXPECT_EQ(formationSize, 21);
    EXPECT_EQ(ObjectTable[31].formationSlot, 21);
    DiverAt(32, 0, 0);
    ResolveContacts();
    EXPECT_EQ(formationSize, 21);
    EXPECT_EQ(ObjectTable[32].formationSlot, 0);
}

TEST_F(Contacts, OneCatchPerFrameInSlotOrderAndNoProbeThen) {
    DiverAt(33, 2, 0);
    DiverAt(34, 0, 2);
    DiverAt(32, 0, 0).formationSlot = -1;  // released divers are never caught
    PutItem(2000, ITEM_BIRD, 0);
    ResolveContacts();
    EXPECT_EQ(ObjectTable[33].formationSlot, 1);
    EXPECT_EQ(ObjectTable[34].formationSlot, 0);
    EXPECT_EQ(crashed, 0);
    ResolveContacts();
    EXPECT_EQ(ObjectTable[34].formationSlot, 2);
    EXPECT_EQ(ObjectTable[32].formationSlot, -1);
    EXPECT_EQ(crashed, 0);
    ResolveContacts();  // nobody left to catch: the bird is found now
    EXPECT_EQ(crashed, 1);
    EXPECT_EQ(catchCount, 2);
}

TEST_F(Contacts, BirdBelowTheBalloonCrashesAndTheBalloonIsStillTaken) {
    PutItem(1990, ITEM_RAPTOR, -29);
    PutItem(1995, ITEM_BALLOON, 29);
    ResolveContacts();
    EXPECT_EQ(crashed, 1);
    EXPECT_EQ(balloonCount, 1);
    EXPECT_EQ(ItemField.itemKind[1995], ITEM_NONE);
    EXPECT_EQ(SoundRequests(), (std::vector<SoundRequest>{{SOUND_BALLOON, PLAY_ONCE}}));
}

TEST_F(Contacts, BalloonEndsTheProbeOneBalloonPerFrame) {
    PutItem(1990, ITEM_BALLOON, 0);
    PutItem(1991, ITEM_BALLOON, 0);
    PutItem(1992, ITEM_FLAPPING_BIRD, 0);
    ResolveContacts();
    EXPECT_EQ(crashed, 0);
    EXPECT_EQ(balloonCount, 1);
    EXPECT_EQ(ItemField.itemKind[1990], ITEM_NONE);
    EXPECT_EQ(ItemField.itemKind[1991], ITEM_BALLOON);
    ResolveContacts();
    EXPECT_EQ(balloonCount, 2);
    EXPECT_EQ(crashed, 0);
    ResolveContacts();
    EXPECT_EQ(crashed, 1);
}

TEST_F(Contacts, ProbeCoversFieldYMinus14ToPlus15WithinThirtyInX) {
    PutItem(1985, ITEM_BIRD, 0);   // fieldY - 15: outside
    PutItem(2016, ITEM_BIRD, 0);   // fieldY + 16: outside
    PutItem(2000, ITEM_BIRD, 30);  // too far across
    PutItem(2001, ITEM_BIRD, -30);
    ResolveContacts();
    EXPECT_EQ(crashed, 0);
    PutItem(1986, ITEM_BALLOON, 0);
    PutItem(2015, ITEM_BALLOON, 0);
    ResolveContacts();
    ResolveContacts();
    EXPECT_EQ(balloonCount, 2);
}

TEST_F(Contacts, ProbeIsClippedToTheField) {
    for (int32_t i = 1; i <= ITEM_COUNT; ++i) PutItem(i, ITEM_BALLOON, 0);
    player().fieldY = 5010;  // 4996..5000 probed
    for (int n = 0; n < 5; ++n) ResolveContacts();
    EXPECT_EQ(balloonCount, 5);
    for (int32_t i = 4996; i <= 5000; ++i) EXPECT_EQ(ItemField.itemKind[i], ITEM_NONE);
    ResolveContacts();
    EXPECT_EQ(balloonCount, 5);

    player().fieldY = 5;  // 1..20 probed
    for (int n = 0; n < 25; ++n) ResolveContacts();
    EXPECT_EQ(balloonCount, 25);
    EXPECT_EQ(ItemField.itemKind[20], ITEM_NONE);
    EXPECT_EQ(ItemField.itemKind[21], ITEM_BALLOON);

    player().fieldY = -100000;
    ResolveContacts();
    player().fieldY = 100000;
    ResolveContacts();
    EXPECT_EQ(balloonCount, 25);
}

}  // namespace
