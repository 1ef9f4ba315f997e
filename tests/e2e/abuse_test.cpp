// The real game under abuse in a private X server: a long stream of random keys with the focus
// taken away and given back, close requests before it has settled, and no audio device.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <set>
#include <thread>

#include "tests/e2e/xserver.h"

namespace {

using namespace std::chrono_literals;

std::vector<std::string> GameEnvironment(const XServer& server, const std::string& audioFile) {
    // The software renderer starts faster where there is no GPU.
    return {"DISPLAY=" + server.display, "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=disk",
            "SDL_DISKAUDIOFILE=" + audioFile, "SDL_RENDER_DRIVER=software"};
}

// The altimeter pointer's row: the first row whose pixels right of the scale show its red;
// -1 when it is not found.
int PointerRow(const XServer& server) {
    const Screenshot shot = TakeScreenshot(server.display);
    if (shot.width != 640) return -1;
    for (int y = 100; y < 380; ++y) {
        for (int x = 60; x < 69; ++x) {
            const uint32_t c = shot.At(x, y);
            if ((c >> 16) > 180 && ((c >> 8) & 0xFF) < 100 && (c & 0xFF) < 100) return y;
        }
    }
    return -1;
}

std::string FocusedWindow(const XServer& server) {
    std::string id = RunCommand(Xdo(server) + "getwindowfocus 2>/dev/null");
    while (!id.empty() && id.back() == '\n') id.pop_back();
    return id;
}

// Whether the child still runs; when it has ended, its status (128 + signal if killed).
bool StillRunning(Child& child, int* exitStatus) {
    int status = 0;
    if (waitpid(child.pid, &status, WNOHANG) != child.pid) return true;
    *exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    child.pid = -1;
    return false;
}

TEST(GameUnderAbuse, RandomKeysAndFocusChangesForThirtySecondsThenEscape) {
    XServer server = StartXServer(640, 480);
    XServerGuard serverGuard{server};
    ASSERT_GT(server.pid, 0) << "Xvfb did not start";
    TempFile audio("skyring-abuse-audio");
    Child game = Spawn({GAME_PATH}, GameEnvironment(server, audio.path));
    ChildGuard gameGuard{game};
    const std::string gameWindow = SettledWindow(server, "Direct X Game ", 500, 5000);
    ASSERT_FALSE(gameWindow.empty()) << "the game's window did not appear";
    // A second client to give the focus to: without a window manager, focus moves only when
    // a client sets it, and the game then sees it leave and come back.
    Child other = Spawn({"/usr/bin/xlogo", "-geometry", "40x40+0+0"}, {"DISPLAY=" + server.display});
    ChildGuard otherGuard{other};
    const std::string otherWindow = SettledWindow(server, "xlogo", 500, 5000);
    ASSERT_FALSE(otherWindow.empty()) << "xlogo did not start";
    const std::string xdo = Xdo(server);
    RunCommand(xdo + "windowfocus --sync " + gameWindow + " 2>/dev/null");

    // The focus changes reach the game: coming back to the foreground puts the falling diver
    // back at the top, and the altimeter shows it. The first jump is the same in every run,
    // and untouched it meets no bird in its first frames.
    int before = -1;
    for (int i = 0; i < 40 && before < 124; ++i) {
        std::this_thread::sleep_for(500ms);
        before = PointerRow(server);
    }
    ASSERT_GE(before, 124) << "the diver should have fallen by now";
    RunCommand(xdo + "windowfocus --sync " + otherWindow + " 2>/dev/null");
    std::this_thread::sleep_for(400ms);
    RunCommand(xdo + "windowfocus --sync " + gameWindow + " 2>/dev/null");
    std::this_thread::sleep_for(400ms);
    const int after = PointerRow(server);
    std::printf("altimeter pointer at row %d before the focus change, %d after it\n", before, after);
    EXPECT_GE(after, 100);
    EXPECT_LE(after, before - 8) << "back in the foreground, the diver starts again from the top";

    // Anything but Escape, and no Alt, whose F4 would close the window.
    const std::vector<std::string> arrows = {"Left", "Right", "Up", "Down"};
    const std::vector<std::string> others = {"a", "z", "9", "space", "Return", "Tab", "BackSpace", "F1",
                                             "F4", "Home", "KP_5", "Shift_L", "Control_L", "ctrl+c", "shift+Left"};
    std::mt19937 random(20261208);
    std::set<std::string> held;
    int focusChanges = 0, keyCommands = 0, status = 0;
    const auto end = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < end) {
        const unsigned roll = random() % 100;
        const std::string& arrow = arrows[random() % arrows.size()];
        if (roll < 40) {
            RunCommand(xdo + (held.count(arrow) ? "keyup " : "keydown ") + arrow);
            if (held.count(arrow)) {
                held.erase(arrow);
            } else {
                held.insert(arrow);
            }
        } else if (roll < 75) {
            RunCommand(xdo + "key " + others[random() % others.size()]);
        } else if (roll < 80) {
            // SDL settles a focus change only after a short while, so each side lasts a bit.
            RunCommand(xdo + "windowfocus --sync " + otherWindow + " 2>/dev/null");
            EXPECT_EQ(FocusedWindow(server), otherWindow);
            std::this_thread::sleep_for(std::chrono::milliseconds(250 + random() % 400));
            RunCommand(xdo + "keydown " + arrow + " keyup " + arrow);  // to the other window
            RunCommand(xdo + "windowfocus --sync " + gameWindow + " 2>/dev/null");
            EXPECT_EQ(FocusedWindow(server), gameWindow);
            ++focusChanges;
        }
        ++keyCommands;
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 150));
        ASSERT_TRUE(StillRunning(game, &status)) << "the game ended with status " << status;
    }
    for (const std::string& key : held) RunCommand(xdo + "keyup " + key);
    EXPECT_GT(focusChanges, 5);
    EXPECT_GT(keyCommands, 100);

    RunCommand(xdo + "windowfocus --sync " + gameWindow + " 2>/dev/null");
    ASSERT_TRUE(StillRunning(game, &status)) << "the game ended with status " << status;
    RunCommand(xdo + "key Escape");
    EXPECT_EQ(WaitForExit(game, 3000), 0) << "Escape ends the game with status 0";
}

TEST(GameUnderAbuse, ACloseRequestInTheFirstFramesEndsItWithStatusZero) {
    XServer server = StartXServer(640, 480);
    XServerGuard serverGuard{server};
    ASSERT_GT(server.pid, 0) << "Xvfb did not start";
    TempFile audio("skyring-abuse-audio");
    // As a window manager's close button asks, once the window is there for good, and as a
    // desktop's log-out asks (SIGTERM), as soon as the first window shows, still in start-up.
    for (const bool signal : {false, true}) {
        SCOPED_TRACE(signal ? "SIGTERM" : "WM_DELETE_WINDOW");
        Child game = Spawn({GAME_PATH}, GameEnvironment(server, audio.path));
        ChildGuard gameGuard{game};
        const std::string window = SettledWindow(server, "Direct X Game ", signal ? 0 : 500, 15000);
        ASSERT_FALSE(window.empty()) << "the game's window did not appear";
        if (signal) {
            kill(game.pid, SIGTERM);
        } else {
            ASSERT_EQ(system(("DISPLAY=" + server.display + " " CLOSE_REQUEST_PATH " " + window).c_str()), 0);
        }
        EXPECT_EQ(WaitForExit(game, 5000), 0);
    }
}

TEST(GameUnderAbuse, WithoutAnAudioDeviceItSaysWhyAndEndsWithStatusOne) {
    XServer server = StartXServer(640, 480);
    XServerGuard serverGuard{server};
    ASSERT_GT(server.pid, 0) << "Xvfb did not start";
    const std::string out = RunCommand("DISPLAY=" + server.display +
                                       " SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=software SDL_AUDIODRIVER=nonexistent "
                                       "timeout 10 " GAME_PATH " 2>&1 >/dev/null; echo \"status $?\"");
    EXPECT_NE(out.find("DirectSound Init Failed at 22 error_code="), std::string::npos) << out;
    EXPECT_NE(out.find("\nstatus 1\n"), std::string::npos) << out;
}

}  // namespace
