#include "tests/view/view_fixture.h"

namespace {

using StatusDisplay = FreshScene;

std::vector<int32_t> Ys(const std::vector<DrawCall>& calls, int32_t x) {
    std::vector<int32_t> ys;
    for (const DrawCall& call : calls)
        if (call.x == x) ys.push_back(call.y);
    return ys;
}

TEST_F(StatusDisplay, CurrentEntriesBlinkAndBestEntriesStayBig) {
    balloonCount = 3;
    bestBalloonCount = 5;
    frameCounter = 10;
    DrawStatus();
    EXPECT_EQ(Ys(CallsOf(pictures().BalloonStarSmall), 600), (std::vector<int32_t>{22, 44, 66}));
    EXPECT_EQ(Ys(CallsOf(pictures().BalloonStarBig), 600), (std::vector<int32_t>{88, 110}));

    DrawCalls().clear();
    frameCounter = 11;
    DrawStatus();
    EXPECT_TRUE(CallsOf(pictures().BalloonStarSmall).empty());
    EXPECT_EQ(Ys(CallsOf(pictures().BalloonStarBig), 600), (std::vector<int32_t>{22, 44, 66, 88, 110}));
}

TEST_F(StatusDisplay, TheTwoColumnsBlinkInOppositePhase) {
    balloonCount = 1;
    catchCount = 2;
    bestCatchCount = 3;
    frameCounter = 10;
    DrawStatus();
    EXPECT_EQ(CallsOf(pictures().BalloonStarSmall).size(), 1u);
    EXPECT_EQ(Ys(CallsOf(pictures().CatchStarBig), 570), (std::vector<int32_t>{22, 44, 66}));
    EXPECT_TRUE(CallsOf(pictures().CatchStarSmall).empty());

    DrawCalls().clear();
    frameCounter = 11;
    DrawStatus();
    EXPECT_EQ(CallsOf(pictures().BalloonStarBig).size(), 1u);
    EXPECT_EQ(Ys(CallsOf(pictures().CatchStarSmall), 570), (std::vector<int32_t>{22, 44}));
    EXPECT_EQ(Ys(CallsOf(pictures().CatchStarBig), 570), (std::vector<int32_t>{66}));
}

TEST_F(StatusDisplay, EmptyColumnsDrawNoStars) {
    DrawStatus();
    EXPECT_TRUE(CallsOf(pictures().BalloonStarBig).empty());
    EXPECT_TRUE(CallsOf(pictures().BalloonStarSmall).empty());
    EXPECT_TRUE(CallsOf(pictures().CatchStarBig).empty());
    EXPECT_TRUE(CallsOf(pictures().CatchStarSmall).empty());
}

TEST_F(StatusDisplay, CountsAreCappedAtTwentyNineAndOnlyTwentyStarsFit) {
    balloonCount = 35;
    catchCount = 30;
    frameCounter = 11;
    DrawStatus();
    EXPECT_EQ(balloonCount, 29);
    EXPECT_EQ(catchCount, 29);
    const std::vector<DrawCall> stars = CallsOf(pictures().BalloonStarBig);
    ASSERT_EQ(stars.size(), 29u);
    int fitting = 0;
    for (const DrawCall& star : stars) fitting += Fits(star) ? 1 : 0;
    EXPECT_EQ(fitting, 20);
    EXPECT_EQ(stars[19].y, 440);
}

TEST_F(StatusDisplay, AltimeterScaleMarksAndPointer) {
    const struct {
        int32_t altitude, pointerY;
    } cases[] = {{5000, 110}, {4981, 110}, {4980, 111}, {1000, 310}, {0, 360}};
    for (const auto& c : cases) {
        DrawCalls().clear();
        player().altitude = c.altitude;
        DrawStatus();
        const std::vector<DrawCall> pointer = CallsOf(pictures().AltimeterPointer);
        ASSERT_EQ(pointer.size(), 1u);
        EXPECT_EQ(pointer[0].x, 50);
        EXPECT_EQ(pointer[0].y, c.pointerY) << c.altitude;
    }
    EXPECT_EQ(Ys(CallsOf(pictures().AltimeterScale), 30), (std::vector<int32_t>{50, 130, 210, 290}));
    EXPECT_EQ(Ys(CallsOf(pictures().AltimeterTick), 30), (std::vector<int32_t>{315, 330, 345, 355}));
    // The pointer comes last, over the scale.
    EXPECT_TRUE(SameRect(DrawCalls().back().source, pictures().AltimeterPointer));
}

}  // namespace
