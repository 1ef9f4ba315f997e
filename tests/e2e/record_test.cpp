// A session recorded in the real game replays exactly: turns, a dive, a pause, a focus change,
// the window mode switched there and back, and Escape, recorded with the trace the game writes itself; then skyring-replay and the
// game's own playback of the recording write the very same trace. F12 saves the screen.
#include <gtest/gtest.h>

#include <png.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/e2e/xserver.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Recording, ALiveSessionReplaysAndPlaysBackToTheSameTrace) {
    char made[] = "/tmp/skyring-record-XXXXXX";
    ASSERT_NE(mkdtemp(made), nullptr);
    const fs::path folder = made;
    XServer server = StartXServer(640, 480);
    XServerGuard serverGuard{server};
    ASSERT_GT(server.pid, 0) << "Xvfb did not start";
    const std::vector<std::string> environment = {"DISPLAY=" + server.display, "SDL_AUDIODRIVER=dummy",
                                                  "SDL_RENDER_DRIVER=software",
                                                  "XDG_PICTURES_DIR=" + (folder / "pictures").string()};
    const std::string recording = (folder / "r.txt").string(), live = (folder / "live.jsonl").string();
    Child game = Spawn({GAME_PATH, "--record", recording, "--trace", live}, environment);
    ChildGuard gameGuard{game};
    const std::string gameWindow = SettledWindow(server, "Direct X Game ", 500, 5000);
    ASSERT_FALSE(gameWindow.empty()) << "the game's window did not appear";
    Child other = Spawn({"/usr/bin/xlogo", "-geometry", "40x40+0+0"}, {"DISPLAY=" + server.display});
    ChildGuard otherGuard{other};
    const std::string otherWindow = SettledWindow(server, "xlogo", 300, 5000);
    ASSERT_FALSE(otherWindow.empty()) << "xlogo did not start";
    const std::string xdo = Xdo(server);
    RunCommand(xdo + "windowfocus --sync " + gameWindow + "");

    std::this_thread::sleep_for(4500ms);  // the diver has left the aircraft
    RunCommand(xdo + "keydown Left");
    std::this_thread::sleep_for(500ms);
    RunCommand(xdo + "keyup Left keydown Down key alt+Return");
    std::this_thread::sleep_for(600ms);
    RunCommand(xdo + "keyup Down key p");
    std::this_thread::sleep_for(700ms);
    RunCommand(xdo + "key p key F12 key F11");
    RunCommand(xdo + "windowfocus --sync " + otherWindow + "");
    std::this_thread::sleep_for(400ms);
    RunCommand(xdo + "windowfocus --sync " + gameWindow + "");
    std::this_thread::sleep_for(400ms);
    RunCommand(xdo + "key Right key Escape");
    ASSERT_EQ(WaitForExit(game, 5000), 0);

    const std::string script = Read(recording);
    for (const char* event : {"down left", "up left", "down down", "deactivate", "activate", "down escape"}) {
        EXPECT_NE(script.find(event), std::string::npos) << event << " in\n" << script;
    }
    EXPECT_EQ(script.find(" 80\n"), std::string::npos) << "the pause key is the shell's, not the game's";
    EXPECT_EQ(script.rfind("# Skyring " SKYRING_VERSION ", recorded ", 0), 0u) << script;

    const std::string replayed = (folder / "replay.jsonl").string();
    ASSERT_EQ(std::system((std::string(REPLAY_PATH) + " --frames 100000 --script " + recording + " --trace " +
                           replayed).c_str()),
              0);
    const std::string liveTrace = Read(live);
    EXPECT_GT(std::count(liveTrace.begin(), liveTrace.end(), '\n'), 120) << "the session lasted several seconds";
    EXPECT_TRUE(liveTrace == Read(replayed)) << "the replay's trace differs from the live one";

    const std::string played = (folder / "play.jsonl").string();
    Child playback = Spawn({GAME_PATH, "--play", recording, "--trace", played}, environment);
    ChildGuard playbackGuard{playback};
    EXPECT_EQ(WaitForExit(playback, 20000), 0) << "the recording's Escape ends its playback";
    EXPECT_TRUE(liveTrace == Read(played)) << "the playback's trace differs from the live one";

    ASSERT_TRUE(fs::is_directory(folder / "pictures"));
    const fs::directory_entry picture = *fs::directory_iterator(folder / "pictures");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, picture.path().c_str())) << picture.path();
    EXPECT_EQ(image.width, 640u);
    EXPECT_EQ(image.height, 480u);
    png_image_free(&image);
    fs::remove_all(folder);
}

}  // namespace
