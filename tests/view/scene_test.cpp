#include "tests/view/view_fixture.h"

namespace {

constexpr RECT MARKER = {0, 0, 10, 10};  // a picture no catalogue entry uses

class Scene : public FreshScene {
protected:
    // Only the objects and items a test adds take part; the player is out of play (frame 0).
    void SetUp() override {
        FreshScene::SetUp();
        ParkDivers();
        ObjectTable[AIRCRAFT_SLOT].active = 0;
        for (int32_t i = 1; i <= ITEM_COUNT; ++i) ItemField.itemKind[i] = ITEM_NONE;
    }
    static GameObject& ObjectAt(int32_t slot, int32_t x, int32_t y, int32_t altitude) {
        GameObject& o = ObjectTable[slot];
        o = GameObject{};
        o.active = 1;
        o.x = x;
        o.y = y;
        o.altitude = altitude;
        o.sprite = MARKER;
        return o;
    }
    // The jitter the n-th active slot of the coming pass will get.
    static int32_t JitterX(int n) { return 1 - DrawAhead(2 * n - 1) % 3; }
    static int32_t JitterY(int n) { return 1 - DrawAhead(2 * n) % 3; }
};

TEST_F(Scene, PaintsBackToFrontInTheFixedOrder) {
    ObjectTable[AIRCRAFT_SLOT].active = 1;
    player().altitude = 40;  // ground and landing mark shown
    player().y = 2500;
    ItemField.itemKind[5000] = ITEM_CLOUD;
    ItemField.itemX[5000] = player().x;
    DrawScene();
    const std::vector<DrawCall>& calls = DrawCalls();
    ASSERT_TRUE(calls[0].clear);
    // Background columns 9..0, rows 7..0 within each, then the strip 10..0.
    EXPECT_EQ(calls[1].x, 576);
    EXPECT_EQ(calls[1].y, 448);
    EXPECT_EQ(calls[8].y, 0);
    EXPECT_EQ(calls[80].x, 0);
    EXPECT_EQ(calls[80].y, 0);
    for (int i = 1; i <= 80; ++i) ASSERT_TRUE(SameRect(calls[i].source, BACKDROP_TILE));
    EXPECT_EQ(calls[81].x, 640);
    EXPECT_EQ(calls[81].y, 416);
    EXPECT_EQ(calls[91].x, 0);

    // What each later call draws, in order, runs of one picture folded into one.
    std::vector<const RECT*> order;
    const RECT* known[] = {&pictures().AltimeterScale, &pictures().FarCloudlet, &pictures().NearCloudlet,
                           &pictures().GroundTile,     &pictures().LandingMark, &ObjectTable[AIRCRAFT_SLOT].sprite,
                           &pictures().Cloud};
    for (size_t i = 92; i < calls.size(); ++i)
        for (const RECT* picture : known)
            if (SameRect(calls[i].source, *picture) && (order.empty() || order.back() != picture)) order.push_back(picture);
    EXPECT_EQ(order, (std::vector<const RECT*>(std::begin(known), std::end(known))));
    EXPECT_EQ(CallsOf(pictures().FarCloudlet).size(), 100u);
    EXPECT_EQ(CallsOf(pictures().NearCloudlet).size(), 100u);
    EXPECT_EQ(CallsOf(pictures().AltimeterScale).size(), 4u);  // the status once, inside the scene
}

TEST_F(Scene, EverySlotCountsItsSpinDownActiveOrNot) {
    GameObject& idle = ObjectTable[100];
    idle.spinTimer = 3;
    idle.heading = 10;
    GameObject& still = ObjectTable[101];
    still.heading = 10;
    for (int frame = 0; frame < 5; ++frame) DrawScene();
    EXPECT_EQ(idle.spinTimer, 0);
    EXPECT_EQ(idle.heading, 16);
    EXPECT_EQ(still.heading, 10);
    EXPECT_EQ(still.spinTimer, 0);
}

TEST_F(Scene, PlayerComesIntoPlayAtFrame81WithTwoDrawsPerActiveSlot) {
    SetUpJumpQuietly();  // aircraft and divers active again
    frameCounter = 80;
    player().dx = 3;
    uint32_t before = rngState;
    DrawScene();
    EXPECT_EQ(player().active, 0);
    EXPECT_EQ(player().x, 5000);  // not moved
    EXPECT_EQ(rngState, StateAfterDraws(before, 44));

    frameCounter = 81;
    before = rngState;
    const int32_t jx = JitterX(1), jy = JitterY(1);
    DrawCalls().clear();
    DrawScene();
    EXPECT_EQ(player().active, 1);
    EXPECT_EQ(player().x, 5003);
    EXPECT_EQ(rngState, StateAfterDraws(before, 46));
    const std::vector<DrawCall> drawn = CallsOf(player().sprite);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn[0].x, 320 + jx);
    EXPECT_EQ(drawn[0].y, 200 + jy);
}

TEST_F(Scene, CanopyPostureAndOpeningStagesByAltitude) {
    const struct {
        int32_t altitude;
        const RECT* overlay;
    } cases[] = {{1000, nullptr},
                 {1001, &SpriteCatalogue.CanopyOpening3},
                 {1100, &SpriteCatalogue.CanopyOpening3},
                 {1101, &SpriteCatalogue.CanopyOpening2},
                 {1200, &SpriteCatalogue.CanopyOpening2},
                 {1201, &SpriteCatalogue.CanopyOpening1},
                 {1300, &SpriteCatalogue.CanopyOpening1},
                 {1301, nullptr}};
    for (const auto& c : cases) {
        DrawCalls().clear();
        GameObject& o = ObjectAt(40, player().x + 100, 4500, c.altitude);
        o.formationSlot = 3;
        o.dx = 2;
        o.dy = -50;
        const int32_t jx = JitterX(1), jy = JitterY(1);
        DrawScene();
        const int32_t sx = 420 + jx;
        const int32_t sy = (4500 / 50 + 5000 - c.altitude) + 200 - player().fieldY + jy;
        const std::vector<DrawCall> body = CallsOf(MARKER);
        ASSERT_EQ(body.size(), 1u);
        const bool canopy = c.altitude <= 1000;
        EXPECT_EQ(body[0].x, canopy ? sx - 10 : sx) << c.altitude;
        EXPECT_EQ(body[0].y, canopy ? sy - 30 : sy) << c.altitude;
        EXPECT_EQ(o.x, player().x + 102);
        EXPECT_EQ(o.y, 4450);
        const RECT* stages[] = {&SpriteCatalogue.CanopyOpening1, &SpriteCatalogue.CanopyOpening2,
                                &SpriteCatalogue.CanopyOpening3};
        for (const RECT* stage : stages) {
            const std::vector<DrawCall> drawn = CallsOf(*stage);
            if (stage != c.overlay) {
                EXPECT_TRUE(drawn.empty()) << c.altitude;
                continue;
            }
            ASSERT_EQ(drawn.size(), 1u);
            EXPECT_EQ(drawn[0].x, sx + 5);
            EXPECT_EQ(drawn[0].y, sy - 30);
        }
        EXPECT_EQ(o.formationSlot, c.overlay ? -1 : 3) << c.altitude;
    }
}

TEST_F(Scene, ObjectsArePlacedAgainstThePlayersMovedXAndUnmovedFieldY) {
    frameCounter = 81;
    player().y = 2500;
    player().altitude = 3000;
    player().dx = 8;
    player().dy = 500;  // moves fieldY by 10, but only after it was taken
    GameObject& o = ObjectAt(50, player().x, 2500, 3000);
    const int32_t jx = JitterX(2), jy = JitterY(2);
    DrawScene();
    const std::vector<DrawCall> drawn = CallsOf(MARKER);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].x, 320 - 8 + jx);
    EXPECT_EQ(drawn[0].y, 200 + jy);
    EXPECT_EQ(o.fieldY, 2050);
    EXPECT_EQ(player().fieldY, 2050);  // no item in view: the object pass's value stays
}

TEST_F(Scene, PlayerUnderCanopyIsDrawnAboveLeftOfTheReferencePoint) {
    frameCounter = 100;
    player().altitude = 1000;
    player().y = 2500;
    const int32_t jx = JitterX(1), jy = JitterY(1);
    DrawScene();
    const std::vector<DrawCall> drawn = CallsOf(player().sprite);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].x, 310 + jx);
    EXPECT_EQ(drawn[0].y, 170 + jy);
}

TEST_F(Scene, CloudletsScrollWithSignedRemainders) {
    player().x = 5000;
    player().altitude = 4000;
    ItemField.itemX[1] = 10;   // (10 - 100) rem 640 = -90
    ItemField.itemX[2] = 700;  // 600
    ItemField.itemX[101] = 10;  // (10 - 250) rem 640 = -240
    ItemField.itemX[102] = 900;  // 650 rem 640 = 10
    DrawScene();
    const std::vector<DrawCall> far = CallsOf(pictures().FarCloudlet);
    const std::vector<DrawCall> near = CallsOf(pictures().NearCloudlet);
    EXPECT_EQ(far[0].x, -90);
    EXPECT_FALSE(Fits(far[0]));
    EXPECT_EQ(far[1].x, 600);
    EXPECT_EQ(far[0].y, (400 + 4) % 480);
    EXPECT_EQ(far[99].y, (400 + 400) % 480);
    EXPECT_EQ(near[0].x, -240);
    EXPECT_EQ(near[1].x, 10);
    EXPECT_EQ(near[0].y, (800 + 404) % 480);
}

TEST_F(Scene, GroundRowsAppearBelow330AndTheLandingMarkBelow50) {
    const struct {
        int32_t altitude;
        size_t fitting;
        bool mark;
    } cases[] = {{330, 0, false}, {329, 10, false}, {267, 20, false}, {50, 50, false}, {49, 50, true}, {0, 60, true}};
    for (const auto& c : cases) {
        DrawCalls().clear();
        player().altitude = c.altitude;
        DrawScene();
        size_t fitting = 0;
        for (const DrawCall& tile : CallsOf(pictures().GroundTile)) fitting += Fits(tile) ? 1 : 0;
        EXPECT_EQ(fitting, c.fitting) << c.altitude;
        const std::vector<DrawCall> mark = CallsOf(pictures().LandingMark);
        ASSERT_EQ(mark.size(), c.mark ? 1u : 0u) << c.altitude;
        if (!c.mark) continue;
        EXPECT_EQ(mark[0].x, 333);
        EXPECT_EQ(mark[0].y, c.altitude + 220);
    }
    // The first grid row at 267 is the one at y 417.
    DrawCalls().clear();
    player().altitude = 267;
    DrawScene();
    bool row417 = false;
    for (const DrawCall& tile : CallsOf(pictures().GroundTile)) row417 |= tile.y == 417 && Fits(tile);
    EXPECT_TRUE(row417);
}

class ItemWindow : public Scene {
protected:
    // Every index a cloud straight above or below the player, at its own field place.
    void FillWithClouds() {
        for (int32_t i = 1; i <= ITEM_COUNT; ++i) {
            ItemField.itemKind[i] = ITEM_CLOUD;
            ItemField.itemX[i] = player().x;
            ItemField.itemY[i] = i;
        }
    }
    // First and last index drawn, from the clouds' screen y.
    std::pair<int32_t, int32_t> DrawnRange() {
        const std::vector<DrawCall> clouds = CallsOf(pictures().Cloud);
        if (clouds.empty()) return {0, 0};
        return {clouds.front().y - 200 + player().fieldY, clouds.back().y - 200 + player().fieldY};
    }
};

TEST_F(ItemWindow, SpansFieldYPlusMinus250ClippedToTheField) {
    const struct {
        int32_t y, altitude, fieldY, first, last;
    } cases[] = {{2500, 4950, 100, 1, 350},
                 {2500, 150, 4900, 4650, 5000},
                 {15000, 0, 5300, 5000, 5000},
                 {-20000, 5000, -400, 1, 1}};
    for (const auto& c : cases) {
        DrawCalls().clear();
        FillWithClouds();
        player().y = c.y;
        player().altitude = c.altitude;
        player().fieldY = c.fieldY;
        DrawScene();
        EXPECT_EQ(player().fieldY, c.fieldY);
        EXPECT_EQ(DrawnRange(), std::make_pair(c.first, c.last)) << c.fieldY;
        EXPECT_EQ(CallsOf(pictures().Cloud).size(), static_cast<size_t>(c.last - c.first + 1));
    }
}

TEST_F(ItemWindow, ItemDrawingRecomputesThePlayersFieldYFromItsMovedY) {
    frameCounter = 100;
    player().y = 2500;
    player().altitude = 3000;
    player().dy = 100;  // +2 in fieldY, after the object pass
    ItemField.itemKind[2100] = ITEM_CLOUD;
    ItemField.itemX[2100] = player().x - 319;
    DrawScene();
    EXPECT_EQ(player().fieldY, 2052);
    const std::vector<DrawCall> clouds = CallsOf(pictures().Cloud);
    ASSERT_EQ(clouds.size(), 1u);
    EXPECT_EQ(clouds[0].x, 1);
    EXPECT_EQ(clouds[0].y, 2100 + 200 - 2052);
}

TEST_F(ItemWindow, BirdsDriftOnlyInViewAndFlapByFrameParity) {
    player().y = 2500;
    player().altitude = 3000;  // fieldY 2050
    ItemField.itemKind[2000] = ITEM_BIRD;
    ItemField.itemX[2000] = player().x + 320;  // exactly at the edge: out of view
    ItemField.itemKind[2001] = ITEM_BIRD;
    ItemField.itemX[2001] = player().x - 319;
    ItemField.itemKind[2002] = ITEM_RAPTOR;
    ItemField.itemX[2002] = player().x;
    ItemField.itemKind[2003] = ITEM_FLAPPING_BIRD;
    ItemField.itemX[2003] = player().x + 100;
    ItemField.itemKind[2400] = ITEM_RAPTOR;  // beyond fieldY + 250
    ItemField.itemX[2400] = player().x;
    frameCounter = 100;
    DrawScene();
    EXPECT_EQ(ItemField.itemX[2000], player().x + 320);
    EXPECT_EQ(ItemField.itemX[2001], player().x - 326);
    EXPECT_EQ(ItemField.itemX[2002], player().x - 9);
    EXPECT_EQ(ItemField.itemX[2003], player().x + 106);
    EXPECT_EQ(ItemField.itemX[2400], player().x);
    const std::vector<DrawCall> birds = CallsOf(pictures().Bird);
    ASSERT_EQ(birds.size(), 1u);
    EXPECT_EQ(birds[0].x, -6);  // drawn where it went, off the screen's left
    EXPECT_EQ(birds[0].y, 2001 + 200 - 2050);
    ASSERT_EQ(CallsOf(pictures().Raptor).size(), 1u);
    EXPECT_EQ(CallsOf(pictures().Raptor)[0].x, 311);
    ASSERT_EQ(CallsOf(pictures().FlappingBirdA).size(), 1u);
    EXPECT_EQ(CallsOf(pictures().FlappingBirdA)[0].x, 426);
    EXPECT_TRUE(CallsOf(pictures().FlappingBirdB).empty());

    DrawCalls().clear();
    frameCounter = 101;
    DrawScene();
    EXPECT_EQ(CallsOf(pictures().FlappingBirdB).size(), 1u);
    EXPECT_TRUE(CallsOf(pictures().FlappingBirdA).empty());
    // The one that drifted out of view stays where it is.
    EXPECT_EQ(ItemField.itemX[2001], player().x - 326);
}

TEST_F(ItemWindow, BalloonsHangOnAStringAndCollectedOnesAreGone) {
    frameCounter = 100;
    player().y = 2500;
    player().altitude = 3000;
    ItemField.itemKind[2060] = ITEM_BALLOON;
    ItemField.itemX[2060] = player().x + 10;
    ItemField.itemKind[2070] = ITEM_NONE;
    ItemField.itemX[2070] = player().x;
    DrawScene();
    const std::vector<DrawCall> balloon = CallsOf(pictures().Balloon);
    const std::vector<DrawCall> string = CallsOf(pictures().BalloonString);
    ASSERT_EQ(balloon.size(), 1u);
    ASSERT_EQ(string.size(), 1u);
    EXPECT_EQ(balloon[0].x, 330);
    EXPECT_EQ(balloon[0].y, 210);
    EXPECT_EQ(string[0].x, 342);
    EXPECT_EQ(string[0].y, 240);
}

}  // namespace
