// The frame loop as a whole program runs it: start-up, jumps, landing, crash and Escape.
#include <gtest/gtest.h>

#include "app/game.h"
#include "app/window_proc.h"
#include "tests/app/game_fixture.h"

namespace {

using Requests = std::vector<std::pair<int32_t, int32_t>>;

TEST_F(GameTest, AFirstJumpWithNoKeysLandsAndTheNextOneStartsAtOnce) {
    Start();
    EXPECT_EQ(soundRequests, (Requests{{SOUND_MUSIC, PLAY_LOOP}}));  // the music, from the first jump setup
    int frames = 0;
    while (restartRequested == 0 && frames < 3000) {
        soundRequests.clear();
        ASSERT_TRUE(RunFrame());
        ++frames;
    }
    ASSERT_EQ(restartRequested, 1) << "no landing within 3000 frames";
    EXPECT_EQ(crashed, 0);
    EXPECT_LT(Player().altitude, 1);
    EXPECT_EQ(soundRequests.back(), (std::pair<int32_t, int32_t>{SOUND_LANDING, PLAY_ONCE}));
    EXPECT_EQ(bestBalloonCount, balloonCount);
    EXPECT_EQ(bestCatchCount, catchCount);
    const int32_t landedBalloons = balloonCount;

    soundRequests.clear();
    ASSERT_TRUE(RunFrame());
    // Asked again, still looping.
    EXPECT_EQ(soundRequests.front(), (std::pair<int32_t, int32_t>{SOUND_MUSIC, PLAY_LOOP}));
    EXPECT_EQ(frameCounter, 2);  // the new jump began at 1 and this frame counted it on
    EXPECT_EQ(restartRequested, 0);
    EXPECT_EQ(Player().altitude, 5000);
    EXPECT_EQ(balloonCount, 0);
    EXPECT_EQ(bestBalloonCount, landedBalloons);
}

TEST_F(GameTest, ThePlayerIsUpdatedFromTheFrameThatBeginsWithCounter82) {
    Start();
    while (frameCounter < 82) {
        EXPECT_EQ(Player().altitude, 5000) << "frame counter " << frameCounter;
        ASSERT_TRUE(RunFrame());
    }
    EXPECT_EQ(frameCounter, 82);
    EXPECT_EQ(Player().altitude, 5000);
    ASSERT_TRUE(RunFrame());
    EXPECT_LT(Player().altitude, 5000);
}

TEST_F(GameTest, EscapeEndsTheProgramInsideTheFramesWaitWithAnOrderlyTeardown) {
    Start();
    ASSERT_TRUE(RunFrame());
    const int32_t counter = frameCounter;
    soundRequests.clear();
    HeadlessClearCallLog();
    MessagePost(HeadlessWindow(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(RunFrame());
    EXPECT_EQ(frameCounter, counter) << "nothing after the wait may run";
    EXPECT_EQ(soundRequests, (Requests{{SOUND_MUSIC, PLAY_STOP},
                                       {SOUND_BALLOON, PLAY_STOP},
                                       {SOUND_CRASH, PLAY_STOP},
                                       {SOUND_FORMATION, PLAY_STOP},
                                       {SOUND_LANDING, PLAY_STOP},
                                       {SOUND_UNPLAYED, PLAY_STOP},
                                       {SOUND_CANOPY_COLLISION, PLAY_STOP}}));
    // From the teardown's first release on (the frame's own drawing comes before it).
    std::vector<std::string> teardown;
    for (const std::string& call : HeadlessCallLog()) {
        const bool soundRelease = call.rfind("Audio", 0) == 0 && call.find("Release") != std::string::npos;
        if (teardown.empty() && !soundRelease) continue;
        if (soundRelease) {
            if (teardown.empty() || teardown.back() != "sound released") teardown.push_back("sound released");
        } else if (call == "SurfaceFill back" || call == "SurfaceFlip" || call.find("Release") != std::string::npos ||
                   call == "WindowDestroy") {
            teardown.push_back(call);
        }
    }
    // The frame's own flip never happens: the only flips are the teardown's two.
    EXPECT_EQ(teardown, (std::vector<std::string>{"sound released", "SurfaceFill back", "SurfaceFlip",
                                                  "SurfaceFill back", "SurfaceFlip", "SurfaceRelease offscreen",
                                                  "PaletteRelease", "SurfaceRelease primary", "DisplayRelease",
                                                  "WindowDestroy"}));
    EXPECT_EQ(HeadlessWindow(), nullptr);
    EXPECT_TRUE(HeadlessPendingMessages().empty()) << "the quit message was taken in the same wait";
}

TEST_F(GameTest, LandingAndCrashInOneFrameUpdateTheBestsAndPlayBothSounds) {
    Start();
    frameCounter = 100;
    Player().altitude = 1;
    Player().fieldY = 5000;
    crashed = 1;
    balloonCount = 3;
    catchCount = 2;
    bestBalloonCount = 3;
    soundRequests.clear();
    ASSERT_TRUE(RunFrame());
    ASSERT_GE(soundRequests.size(), 2u);
    EXPECT_EQ((Requests{soundRequests.end() - 2, soundRequests.end()}),
              (Requests{{SOUND_LANDING, PLAY_ONCE}, {SOUND_CRASH, PLAY_ONCE}}));
    EXPECT_EQ(bestBalloonCount, 3);
    EXPECT_EQ(bestCatchCount, 2);
    soundRequests.clear();
    ASSERT_TRUE(RunFrame());
    EXPECT_EQ(std::count(soundRequests.begin(), soundRequests.end(),
                         std::pair<int32_t, int32_t>{SOUND_MUSIC, PLAY_LOOP}),
              1);
    EXPECT_EQ(crashed, 0);
}

TEST_F(GameTest, ACrashNeverChangesTheBestCounts) {
    Start();
    frameCounter = 100;
    crashed = 1;
    balloonCount = 4;
    ASSERT_TRUE(RunFrame());
    EXPECT_EQ(soundRequests.back(), (std::pair<int32_t, int32_t>{SOUND_CRASH, PLAY_ONCE}));
    EXPECT_EQ(restartRequested, 1);
    EXPECT_EQ(bestBalloonCount, 0);
}

TEST_F(GameTest, FramesLastFiftyMillisecondsAndTheCounterWrapsTo200) {
    Start();
    HeadlessSetTick(1000);
    frameCounter = 29999;
    ASSERT_TRUE(RunFrame());
    EXPECT_EQ(TickCount(), 1050u);
    EXPECT_EQ(frameCounter, 200);
    // Near the end of the tick's range the deadline wraps and the wait ends after one pump.
    HeadlessSetTick(0xFFFFFFF0u);
    ASSERT_TRUE(RunFrame());
    EXPECT_EQ(TickCount(), 0xFFFFFFF0u);
    EXPECT_EQ(frameCounter, 201);
}

TEST_F(GameTest, ReactivationWaitsForTheFirstFrameThenPutsThePlayerBackAtTheTop) {
    Start();
    HeadlessClearCallLog();
    EXPECT_EQ(WindowProc(HeadlessWindow(), WM_ACTIVATEAPP, 1, 0), 0) << "default processing at frame counter 0";
    EXPECT_FALSE(Logged("SurfaceIsLost offscreen"));

    ASSERT_TRUE(RunFrame());
    Player().altitude = 800;
    Player().formationSlot = 3;
    Player().x = 1234;
    balloonCount = 5;
    catchCount = 2;
    const int32_t counter = frameCounter;
    HeadlessLoseSurfaces();
    HeadlessClearDebugLines();
    EXPECT_EQ(WindowProc(HeadlessWindow(), WM_ACTIVATEAPP, 0, 0), 0) << "losing the foreground changes nothing";
    EXPECT_EQ(Player().altitude, 800);
    EXPECT_EQ(WindowProc(HeadlessWindow(), WM_ACTIVATEAPP, 1, 0), 1);
    EXPECT_TRUE(Logged("SurfaceRestore offscreen"));
    EXPECT_TRUE(Logged("SurfaceRestore primary"));
    EXPECT_TRUE(Logged("SurfaceSetColorKey offscreen"));
    EXPECT_TRUE(HeadlessDebugLines().empty());
    EXPECT_EQ(Player().altitude, 5000);
    EXPECT_EQ(Player().x, 5000);
    EXPECT_EQ(Player().formationSlot, 0);
    EXPECT_EQ(balloonCount, 5);
    EXPECT_EQ(catchCount, 2);
    EXPECT_EQ(frameCounter, counter);
    ASSERT_TRUE(RunFrame());  // the jump goes on
}

TEST_F(GameTest, ArrowKeysSetAndClearTheirOwnBitsAndEveryKeyMessageIsHandled) {
    Start();
    WindowHandle w = HeadlessWindow();
    EXPECT_EQ(WindowProc(w, WM_KEYDOWN, VK_LEFT, 0), 1);
    EXPECT_EQ(WindowProc(w, WM_KEYDOWN, VK_RIGHT, 0), 1);
    EXPECT_EQ(ControlFlags, 3);
    EXPECT_EQ(WindowProc(w, WM_KEYDOWN, VK_UP, 0), 1);
    EXPECT_EQ(WindowProc(w, WM_KEYDOWN, VK_DOWN, 0), 1);
    EXPECT_EQ(ControlFlags, 15);
    EXPECT_EQ(WindowProc(w, WM_KEYUP, VK_LEFT, 0), 1);
    EXPECT_EQ(ControlFlags, 14);
    EXPECT_EQ(WindowProc(w, WM_KEYDOWN, 'A', 0), 1);
    EXPECT_EQ(WindowProc(w, WM_KEYUP, 'A', 0), 1);
    EXPECT_EQ(WindowProc(w, WM_KEYUP, VK_ESCAPE, 0), 1);
    EXPECT_EQ(ControlFlags, 14);
    EXPECT_TRUE(HeadlessPendingMessages().empty()) << "only Escape's key-down asks to close";
    EXPECT_EQ(WindowProc(w, WM_SETCURSOR, 0, 0), 1);
}

}  // namespace
