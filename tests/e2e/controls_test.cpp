// The player's controls in the real program: its command line, and under a window manager
// (openbox) the window mode and a full screen that steps aside for another client.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/e2e/xserver.h"

namespace {

using namespace std::chrono_literals;

struct Outcome {
    std::string output;  // standard output and error together
    int status = -1;
};

Outcome RunGame(const std::string& arguments) {
    Outcome run;
    FILE* pipe = popen((std::string(GAME_PATH) + " " + arguments + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(GameCommandLine, HelpAndVersionEndAtOnceAndABadOptionIsRefusedWithTheUsage) {
    const Outcome help = RunGame("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* part : {"usage: skyring", "--window", "--fullscreen", "--mute", "--scaling sharp",
                             "--scaling integer", "--pause-on-focus-loss", "Alt+Return", "P, Pause", "back+start"}) {
        EXPECT_NE(help.output.find(part), std::string::npos) << part;
    }
    const Outcome version = RunGame("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "skyring " SKYRING_VERSION "\n");
    for (const char* bad : {"--windowed", "--scaling blurry", "--scaling", "play"}) {
        const Outcome refused = RunGame(bad);
        EXPECT_EQ(refused.status, 2) << bad;
        EXPECT_EQ(refused.output.rfind("skyring: ", 0), 0u) << refused.output;
        EXPECT_NE(refused.output.find("usage: skyring"), std::string::npos) << bad;
    }
}

// A private X server with openbox managing it.
struct ManagedScreen {
    XServer server;
    Child windowManager;
    ManagedScreen(int width, int height) : server(StartXServer(width, height)) {
        if (server.pid <= 0) return;
        windowManager = Spawn({OPENBOX_PATH}, {"DISPLAY=" + server.display});
        for (int i = 0; i < 100; ++i) {
            const std::string check =
                RunCommand("xprop -display " + server.display + " -root _NET_SUPPORTING_WM_CHECK 2>&1");
            if (check.find("window id") != std::string::npos) return;
            std::this_thread::sleep_for(50ms);
        }
    }
    ~ManagedScreen() {
        KillChild(windowManager);
        StopXServer(server);
    }
    std::vector<std::string> GameEnvironment(const std::string& configHome = "") const {
        std::vector<std::string> environment = {"DISPLAY=" + server.display, "SDL_AUDIODRIVER=dummy",
                                                "SDL_RENDER_DRIVER=software"};
        if (!configHome.empty()) environment.push_back("XDG_CONFIG_HOME=" + configHome);
        return environment;
    }
    // The window's size once it is `w` x `h`, or what it was after five seconds.
    std::string WaitForSize(const std::string& window, int w, int h) const {
        const std::string wanted = "WIDTH=" + std::to_string(w) + "\nHEIGHT=" + std::to_string(h) + "\n";
        std::string geometry;
        for (int i = 0; i < 100; ++i) {
            geometry = RunCommand(Xdo(server) + "getwindowgeometry --shell " + window + "");
            if (geometry.find(wanted) != std::string::npos) return wanted;
            std::this_thread::sleep_for(50ms);
        }
        return geometry;
    }
};

// How many pixels of the rectangle have this colour.
int Count(const Screenshot& shot, int x0, int y0, int w, int h, uint32_t colour) {
    int count = 0;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) count += shot.At(x, y) == colour ? 1 : 0;
    }
    return count;
}

constexpr uint32_t kSky = 0x00D6FF;

TEST(UnderAWindowManager, AWindowOfAWholeMultipleAndAltEnterToTheFullScreenAndBack) {
    ManagedScreen screen(1920, 1080);
    ASSERT_GT(screen.server.pid, 0) << "Xvfb did not start";
    char folder[] = "/tmp/skyring-controls-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string config = folder;
    Child game = Spawn({GAME_PATH, "--window"}, screen.GameEnvironment(config));
    ChildGuard gameGuard{game};
    const std::string window = SettledWindow(screen.server, "Direct X Game ", 500, 5000);
    ASSERT_FALSE(window.empty()) << "the game's window did not appear";
    EXPECT_NE(RunCommand("xprop -display " + screen.server.display + " -id " + window + " _NET_WM_ICON 2>&1")
                  .find("Icon (64 x 64)"),
              std::string::npos)
        << "the window shows the game's icon";
    // 85 % of 1920x1080 holds the page once, not twice.
    EXPECT_EQ(screen.WaitForSize(window, 640, 480), "WIDTH=640\nHEIGHT=480\n");
    std::this_thread::sleep_for(300ms);
    Screenshot shot = TakeScreenshot(screen.server.display);
    EXPECT_EQ(Count(shot, 0, 0, 640, 1080, kSky), 0) << "the desktop shows beside the window";
    EXPECT_GT(Count(shot, 640, 300, 640, 480, kSky), 640 * 480 / 3) << "the sky fills the window";

    // Keys go where the player's would: to the window with the focus.
    const std::string xdo = Xdo(screen.server);
    RunCommand(xdo + "windowactivate --sync " + window + "");
    RunCommand(xdo + "key alt+Return");
    EXPECT_EQ(screen.WaitForSize(window, 1920, 1080), "WIDTH=1920\nHEIGHT=1080\n");
    std::this_thread::sleep_for(300ms);
    shot = TakeScreenshot(screen.server.display);
    EXPECT_GT(Count(shot, 240, 0, 1440, 1080, kSky), 1440 * 1080 / 3) << "the page fills the screen's 4:3";
    EXPECT_EQ(Count(shot, 0, 0, 240, 1080, kSky), 0) << "with black bars beside it";

    RunCommand(xdo + "key alt+Return");
    EXPECT_EQ(screen.WaitForSize(window, 640, 480), "WIDTH=640\nHEIGHT=480\n");
    RunCommand(xdo + "key F11");
    EXPECT_EQ(screen.WaitForSize(window, 1920, 1080), "WIDTH=1920\nHEIGHT=1080\n");

    RunCommand(xdo + "key Escape");
    EXPECT_EQ(WaitForExit(game, 5000), 0);
    std::ifstream file(config + "/skyring/settings.ini");
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("display = fullscreen\n"), std::string::npos) << "the last choice is kept:\n" << text.str();
    std::filesystem::remove_all(config);
}

TEST(UnderAWindowManager, TheFullScreenStepsAsideForAnotherClientAndComesBackWithTheFocus) {
    ManagedScreen screen(1280, 960);
    ASSERT_GT(screen.server.pid, 0) << "Xvfb did not start";
    Child game = Spawn({GAME_PATH}, screen.GameEnvironment());
    ChildGuard gameGuard{game};
    const std::string gameWindow = SettledWindow(screen.server, "Direct X Game ", 500, 5000);
    ASSERT_FALSE(gameWindow.empty()) << "the game's window did not appear";
    Child other = Spawn({"/usr/bin/xlogo", "-bg", "magenta", "-geometry", "300x300+100+100"},
                        {"DISPLAY=" + screen.server.display});
    ChildGuard otherGuard{other};
    const std::string otherWindow = SettledWindow(screen.server, "xlogo", 500, 5000);
    ASSERT_FALSE(otherWindow.empty()) << "xlogo did not start";
    const std::string xdo = Xdo(screen.server);
    constexpr uint32_t kMagenta = 0xFF00FF;

    RunCommand(xdo + "windowactivate --sync " + otherWindow + "");
    std::this_thread::sleep_for(500ms);
    Screenshot shot = TakeScreenshot(screen.server.display);
    EXPECT_GT(Count(shot, 100, 130, 300, 270, kMagenta), 300 * 270 / 4) << "the other client shows";

    RunCommand(xdo + "windowactivate --sync " + gameWindow + "");
    std::this_thread::sleep_for(500ms);
    shot = TakeScreenshot(screen.server.display);
    EXPECT_EQ(Count(shot, 100, 130, 300, 270, kMagenta), 0) << "the game covers the screen again";
    EXPECT_GT(Count(shot, 0, 0, 1280, 960, kSky), 1280 * 960 / 3);

    RunCommand(xdo + "key Escape");
    EXPECT_EQ(WaitForExit(game, 5000), 0);
}

}  // namespace
