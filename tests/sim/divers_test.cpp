#include "tests/sim/sim_fixture.h"

namespace {

using AircraftUpdate = FreshWorld;

TEST_F(AircraftUpdate, CirclesInThirtySevenStepsHoldingThirtySixForOneFrame) {
    SetUpJumpQuietly();
    GameObject& aircraft = ObjectTable[AIRCRAFT_SLOT];
    aircraft.active = 0;
    const uint32_t before = rngState;
    UpdateAircraft();
    EXPECT_EQ(aircraft.active, 1);
    EXPECT_EQ(aircraft.heading, 10);
    EXPECT_EQ(aircraft.sprite.left, 64);
    EXPECT_EQ(aircraft.sprite.top, 64);
    EXPECT_EQ(aircraft.sprite.right, 128);
    EXPECT_EQ(aircraft.sprite.bottom, 127);
    while (aircraft.heading != 35) UpdateAircraft();
    EXPECT_EQ(aircraft.sprite.left, 512);
    EXPECT_EQ(aircraft.sprite.top, 192);
    EXPECT_EQ(aircraft.sprite.bottom, 255);
    UpdateAircraft();
    EXPECT_EQ(aircraft.heading, 36);
    EXPECT_EQ(aircraft.sprite.left, 512);  // the frame of 35 stays
    EXPECT_EQ(aircraft.dx, 0);
    EXPECT_EQ(aircraft.dy, 24);
    UpdateAircraft();
    EXPECT_EQ(aircraft.heading, 0);
    EXPECT_EQ(aircraft.sprite.left, 0);
    EXPECT_EQ(aircraft.sprite.top, 0);
    EXPECT_EQ(aircraft.dx, 0);
    EXPECT_EQ(aircraft.dy, 24);  // 999 * 20 / 800
    EXPECT_EQ(aircraft.x, 5000);  // never moved here
    EXPECT_EQ(aircraft.altitude, 5000);
    EXPECT_EQ(rngState, before);
}

class DiverUpdate : public FreshWorld {
protected:
    void SetUp() override {
        FreshWorld::SetUp();
        SetUpJumpQuietly();
        ParkDivers();
        GameObject& d = diver();
        d = GameObject{};
        d.active = 1;
        d.x = 5000;
        d.y = 2500;
        d.altitude = 3000;
        d.speed = 6;
        frameCounter = 100;
    }
    static GameObject& diver() { return ObjectTable[FIRST_DIVER_SLOT]; }
    static GameObject& player() { return ObjectTable[PLAYER_SLOT]; }
    // The next update's wobble test misses.
    static void NoWobbleNext() {
        SkipDrawsUntilAhead([] { return DrawAhead(2) % 10 != 1; });
    }
    // The next update wobbles by step (+1, 0 or -1).
    static void WobbleNext(int32_t step) {
        SkipDrawsUntilAhead([step] { return DrawAhead(2) % 10 == 1 && 1 - DrawAhead(3) % 3 == step; });
    }
};

TEST_F(DiverUpdate, SteersTowardThePlayerOneStepPerFrameFromOneSide) {
    const struct {
        int32_t ex, ey, from, to;
    } cases[] = {
        {100, 100, 30, 29}, {100, 100, 6, 5},    {100, 100, 5, 5},    {100, 100, 3, 3},    // +x +y, limit 5
        {100, -100, 30, 29}, {100, -100, 14, 14},                                         // +x -y, limit 14
        {-100, -100, 3, 4},  {-100, -100, 22, 22},                                        // -x -y, limit 22
        {-100, 100, 3, 4},   {-100, 100, 31, 31},                                         // -x +y, limit 31
        {0, 100, 30, 30},    {100, 0, 30, 30},    {0, 0, 12, 12},                         // on an axis: no turn
    };
    for (const auto& c : cases) {
        diver().heading = c.from;
        diver().altitude = 3000;
        player().x = diver().x + c.ex;
        player().y = diver().y + c.ey;
        NoWobbleNext();
        UpdateDivers();
        EXPECT_EQ(diver().heading, c.to) << c.ex << "," << c.ey << " from " << c.from;
    }
}

TEST_F(DiverUpdate, NoSteeringUnderCanopyOrOutsideTheFreeState) {
    player().x = diver().x + 100;
    player().y = diver().y + 100;
    diver().heading = 20;
    diver().altitude = 1005;  // sinks to 1000 or below: under canopy now
    NoWobbleNext();
    UpdateDivers();
    EXPECT_EQ(diver().heading, 20);
    diver().altitude = 3000;
    diver().formationSlot = -1;
    NoWobbleNext();
    UpdateDivers();
    EXPECT_EQ(diver().heading, 20);
}

TEST_F(DiverUpdate, DescentByPostureTakesTwoDrawsWithoutWobble) {
    NoWobbleNext();
    const uint32_t start = rngState;
    const int32_t r = PeekDraw();
    UpdateDivers();
    EXPECT_EQ(diver().altitude, 3000 + r % 5 - 9);
    EXPECT_EQ(rngState, StateAfterDraws(start, 2));

    diver().altitude = 3;
    SkipDrawsUntil([](int32_t d) { return d % 4 == 0; });  // sink 4
    UpdateDivers();
    EXPECT_EQ(diver().altitude, 0);
    EXPECT_EQ(diver().sprite.top >= 256 && diver().sprite.top < 512, true);
}

TEST_F(DiverUpdate, WobbleTakesAThirdDrawAndWrapsAbove36AndBelow0) {
    const struct {
        int32_t from, step, to;
    } cases[] = {{35, 1, 36}, {36, 1, 0}, {0, -1, 35}, {12, 0, 12}};
    for (const auto& c : cases) {
        diver().heading = c.from;
        diver().altitude = 900;  // under canopy: no steering
        WobbleNext(c.step);
        const uint32_t start = rngState;
        UpdateDivers();
        EXPECT_EQ(diver().heading, c.to) << c.from << " + " << c.step;
        EXPECT_EQ(rngState, StateAfterDraws(start, 3));
    }
}

TEST_F(DiverUpdate, HeadingThirtySixKeepsThePicture) {
    diver().heading = 36;
    diver().sprite = RECT{1, 2, 3, 4};
    NoWobbleNext();
    UpdateDivers();
    EXPECT_EQ(diver().sprite.left, 1);
    EXPECT_EQ(diver().dx, 0);  // -4 * 5 / 800
    EXPECT_EQ(diver().dy, 6);  // 999 * 5 / 800
}

TEST_F(DiverUpdate, PictureFromFrame81VelocityFromFrame82NeverWhileSpinning) {
    diver().heading = 9;
    diver().altitude = 3000;
    diver().sprite = RECT{32, 512, 64, 544};
    frameCounter = 80;
    NoWobbleNext();
    UpdateDivers();
    EXPECT_EQ(diver().sprite.left, 32);
    EXPECT_EQ(diver().dx, 0);
    EXPECT_EQ(diver().speed, 6);

    frameCounter = 81;
    NoWobbleNext();
    UpdateDivers();
    EXPECT_EQ(diver().sprite.left, 32 * 9);
    EXPECT_EQ(diver().sprite.top, 512);
    EXPECT_EQ(diver().dx, 0);

    frameCounter = 82;
    NoWobbleNext();
    UpdateDivers();
    EXPECT_EQ(diver().speed, 5);  // drifted first, then used
    EXPECT_EQ(diver().dx, 999 * 5 / 800);

    diver().spinTimer = 7;
    diver().dx = -6;
    diver().dy = 2;
    NoWobbleNext();
    UpdateDivers();
    EXPECT_EQ(diver().speed, 5);
    EXPECT_EQ(diver().dx, -6);
    EXPECT_EQ(diver().dy, 2);
}

class FormationRing : public DiverUpdate {
protected:
    // Places gripped diver k of n with the player at heading h; returns the diver.
    GameObject& Place(int32_t k, int32_t n, int32_t h) {
        formationSize = n;
        player().heading = h;
        player().x = 6000;
        player().y = 3000;
        player().altitude = 2222;
        diver().formationSlot = k;
        diver().x = 1;
        NoWobbleNext();
        UpdateDivers();
        return diver();
    }
};

TEST_F(FormationRing, PlacesTheDiversAroundThePlayer) {
    const struct {
        int32_t k, n, h, heading, ddx, ddy;
    } cases[] = {
        {1, 1, 0, 18, 0, 34},      // 1 / 29 truncates to 0, -1000 / 29 to -34
        {1, 2, 30, 6, -30, -17},
        {2, 2, 30, 18, 0, 35},
        {1, 3, 27, 36, 0, -37},    // 36 stays, -4 / 27 truncates to 0
        {1, 21, 0, 1, -19, -109},
        {21, 21, 37, 35, 19, -109}, // a spin can leave the player at 37
    };
    for (const auto& c : cases) {
        const GameObject& d = Place(c.k, c.n, c.h);
        EXPECT_EQ(d.heading, c.heading) << c.k << "/" << c.n;
        EXPECT_EQ(d.x - 6000, c.ddx) << c.k << "/" << c.n;
        EXPECT_EQ(d.y - 3000, c.ddy) << c.k << "/" << c.n;
        EXPECT_EQ(d.altitude, 2222);
    }
}

TEST_F(FormationRing, HeadingThirtySixInTheRingKeepsThePicture) {
    diver().sprite = RECT{1, 2, 3, 4};
    Place(1, 3, 27);
    EXPECT_EQ(diver().sprite.left, 1);
}

TEST_F(FormationRing, FieldYComesFromBeforeThePlacement) {
    diver().y = 2500;
    diver().altitude = 3000;
    NoWobbleNext();
    const int32_t r = PeekDraw();
    Place(1, 1, 0);
    EXPECT_EQ(diver().fieldY, 2500 / 50 + 5000 - (3000 + r % 5 - 9));
}

}  // namespace
