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

// F12's pictures go to picturesFolder, for a test that presses it.
std::vector<std::string> GameEnvironment(const XServer& server, const std::string& audioFile,
                                         const std::string& picturesFolder = "") {
    // The software renderer starts faster where there is no GPU.
    std::vector<std::string> environment = {"DISPLAY=" + server.display, "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=disk",
                                            "SDL_DISKAUDIOFILE=" + audioFile, "SDL_RENDER_DRIVER=software"};
    if (!picturesFolder.empty()) environment.push_back("XDG_PICTURES_DIR=" + picturesFolder);
    return environment;
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
    std::string id = RunCommand(Xdo(server) + "getwindowfocus");
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
    char pictures[] = "/tmp/skyring-abuse-pictures-XXXXXX";
    ASSERT_NE(mkdtemp(pictures), nullptr);
    Child game = Spawn({GAME_PATH}, GameEnvironment(server, audio.path, pictures));
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
    RunCommand(xdo + "windowfocus --sync " + gameWindow + "");

    // The focus changes reach the game: coming back to the foreground puts the falling diver
    // back at the top, and the altimeter shows it. The first jump is the same in every run,
    // and untouched it meets no bird in its first frames.
    int before = -1;
    for (int i = 0; i < 40 && before < 124; ++i) {
        std::this_thread::sleep_for(500ms);
        before = PointerRow(server);
    }
    ASSERT_GE(before, 124) << "the diver should have fallen by now";
    RunCommand(xdo + "windowfocus --sync " + otherWindow + "");
    std::this_thread::sleep_for(400ms);
    RunCommand(xdo + "windowfocus --sync " + gameWindow + "");
    std::this_thread::sleep_for(400ms);
    const int after = PointerRow(server);
    std::printf("altimeter pointer at row %d before the focus change, %d after it\n", before, after);
    EXPECT_GE(after, 100);
    EXPECT_LE(after, before - 8) << "back in the foreground, the diver starts again from the top";

    // Anything but Escape and Alt+F4, the shell's keys among them: pause, mute, window mode and
    // pictures of the screen.
    const std::vector<std::string> arrows = {"Left", "Right", "Up", "Down"};
    const std::vector<std::string> others = {"a", "z", "9", "space", "Return", "Tab", "BackSpace", "F1", "F4", "Home",
                                             "KP_5", "Shift_L", "Control_L", "ctrl+c", "shift+Left", "p", "Pause",
                                             "m", "F11", "F12", "alt+Return"};
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
            RunCommand(xdo + "windowfocus --sync " + otherWindow + "");
            EXPECT_EQ(FocusedWindow(server), otherWindow);
            std::this_thread::sleep_for(std::chrono::milliseconds(250 + random() % 400));
            RunCommand(xdo + "keydown " + arrow + " keyup " + arrow);  // to the other window
            RunCommand(xdo + "windowfocus --sync " + gameWindow + "");
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

    RunCommand(xdo + "windowfocus --sync " + gameWindow + "");
    ASSERT_TRUE(StillRunning(game, &status)) << "the game ended with status " << status;
    RunCommand(xdo + "key Escape");
    EXPECT_EQ(WaitForExit(game, 3000), 0) << "Escape ends the game with status 0";
    RunCommand(std::string("rm -rf ") + pictures);
}

TEST(GameUnderAbuse, EveryWayOfEndingItFromOutsideEndsItWithStatusZero) {
    XServer server = StartXServer(640, 480);
    XServerGuard serverGuard{server};
    ASSERT_GT(server.pid, 0) << "Xvfb did not start";
    TempFile audio("skyring-abuse-audio");
    // As a window manager's close button asks, once the window is there for good; as a
    // desktop's log-out (SIGTERM) and a closed terminal (SIGHUP) ask, as soon as the first window
    // shows, still in start-up; and as xdotool destroys the window outright.
    for (const char* way : {"WM_DELETE_WINDOW", "SIGTERM", "SIGHUP", "windowclose"}) {
        SCOPED_TRACE(way);
        const bool signal = way[0] == 'S';
        Child game = Spawn({GAME_PATH}, GameEnvironment(server, audio.path));
        ChildGuard gameGuard{game};
        const std::string window = SettledWindow(server, "Direct X Game ", signal ? 0 : 500, 15000);
        ASSERT_FALSE(window.empty()) << "the game's window did not appear";
        if (signal) {
            kill(game.pid, std::string(way) == "SIGTERM" ? SIGTERM : SIGHUP);
        } else if (std::string(way) == "windowclose") {
            RunCommand(Xdo(server) + "windowclose " + window);
        } else {
            ASSERT_EQ(system(("DISPLAY=" + server.display + " " CLOSE_REQUEST_PATH " " + window).c_str()), 0);
        }
        EXPECT_EQ(WaitForExit(game, 5000), 0);
    }
}

// What the game writes on standard error and its exit status, run by the shell with `setting`
// before it; `then` runs while it plays, before it is asked to end with SIGTERM (if it still runs).
std::string RunAndEnd(const std::string& setting, const std::string& then) {
    TempFile output("skyring-abuse-output");
    const std::string status = RunCommand(setting + " timeout 20 " GAME_PATH " >" + output.path + " 2>&1 & pid=$!; " +
                                          then + "; kill -TERM $pid 2>&-; wait $pid; echo \"status $?\"");
    return output.Contents() + status;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(GameUnderAbuse, WithoutADisplayItSaysWhyAndEndsWithStatusOne) {
    for (const std::string display : {"-u DISPLAY", "DISPLAY=:65432"}) {
        SCOPED_TRACE(display);
        const std::string out = RunAndEnd("env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " + display +
                                              " XDG_RUNTIME_DIR=/nonexistent SDL_AUDIODRIVER=disk",
                                          "wait $pid");
        EXPECT_NE(out.find("Skyring could not create its window\nSDL video: no display"), std::string::npos) << out;
        EXPECT_NE(out.find("\nstatus 1\n"), std::string::npos) << out;
    }
}

TEST(GameUnderAbuse, WithoutTheAudioDriverItWasToldToUseItSaysWhyOnceAndEndsWithStatusOne) {
    XServer server = StartXServer(640, 480);
    XServerGuard serverGuard{server};
    ASSERT_GT(server.pid, 0) << "Xvfb did not start";
    for (const char* debug : {"", "SKYRING_DEBUG=1"}) {
        SCOPED_TRACE(debug);
        const std::string out = RunAndEnd("DISPLAY=" + server.display + " SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=software "
                                          "SDL_AUDIODRIVER=nonexistent " + debug, "wait $pid");
        EXPECT_EQ(Count(out, "DirectSound Init Failed at 22 error_code="), 1u) << out;
        EXPECT_EQ(Count(out, "SDL audio: Audio target 'nonexistent' not available"), 1u) << out;
        EXPECT_NE(out.find("\nstatus 1\n"), std::string::npos) << out;
    }
}

TEST(GameUnderAbuse, WithNoSoundCardItWarnsOnceAndPlaysInSilence) {
    XServer server = StartXServer(640, 480);
    XServerGuard serverGuard{server};
    ASSERT_GT(server.pid, 0) << "Xvfb did not start";
    // No sound server and no card, whatever this machine has.
    TempFile noCards("skyring-abuse-alsa");
    const std::string out = RunAndEnd("env -u SDL_AUDIODRIVER DISPLAY=" + server.display +
                                          " SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=software ALSA_CONFIG_PATH=" +
                                          noCards.path +
                                          " PULSE_SERVER=unix:/nonexistent PIPEWIRE_REMOTE=/nonexistent "
                                          "AUDIODEV=/nonexistent JACK_NO_START_SERVER=1 SKYRING_DEBUG=1",
                                      "sleep 3");
    EXPECT_EQ(Count(out, "playing in silence"), 1u) << out;
    EXPECT_NE(out.find("\nstatus 0\n"), std::string::npos) << out;
    // The frames ran, and on the terminal a frame's run of one debug line shows once, counted.
    EXPECT_GT(Count(out, " times this frame\n"), 10u) << out;
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(out.substr(start, end - start));
    }
    for (size_t i = 1; i < lines.size(); ++i) EXPECT_NE(lines[i], lines[i - 1]) << "line " << i;
}

}  // namespace
