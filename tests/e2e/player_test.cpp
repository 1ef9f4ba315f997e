// The player's shell in the real game: options over the settings file, the keys of the shell
// and what they keep, the focus-loss pause, playback, pictures, a recording on a full disk, the
// sound coming back after its server restarts, and files left alone when the game cannot start.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/e2e/game_session.h"
#include "tests/trace_fields.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The window's size as xdotool reports it.
std::string WindowSize(const GameSession& session) {
    const std::string id = SettledWindow(session.server(), "Direct X Game ", 0, 1000);
    const std::string geometry = RunCommand(Xdo(session.server()) + "getwindowgeometry --shell " + id);
    const size_t at = geometry.find("WIDTH=");
    return at == std::string::npos ? geometry : geometry.substr(at, geometry.find("SCREEN=") - at);
}

bool Loud(const std::vector<int16_t>& samples) {
    for (int16_t s : samples) {
        if (s > 1000 || s < -1000) return true;
    }
    return false;
}

TEST(PlayerShell, OptionsWinOverTheSettingsFileForTheRunAndAreNotWrittenToIt) {
    GameSession session(1280, 960);
    const std::string settings = "display = window\nmute = off\n";
    session.WriteSettings(settings);
    ASSERT_TRUE(session.Start({"--fullscreen", "--mute"}));
    EXPECT_EQ(WindowSize(session), "WIDTH=1280\nHEIGHT=960\n") << "--fullscreen over display = window";
    std::this_thread::sleep_for(2s);
    EXPECT_GT(session.Sound().size(), 44100u) << "the sound output ran";
    EXPECT_TRUE(session.SilentFrom(0)) << "--mute over mute = off: not a sound";
    EXPECT_EQ(session.End(), 0);
    EXPECT_EQ(session.Settings(), settings);
}

TEST(PlayerShell, MSilencesTheMixF11SwitchesF12KeepsEveryPictureAndEachChangeIsSaved) {
    GameSession session;
    ASSERT_TRUE(session.Start({}));
    std::this_thread::sleep_for(1500ms);
    ASSERT_TRUE(Loud(session.Sound())) << "the music plays";
    session.Xdo("key m");
    std::this_thread::sleep_for(300ms);  // what SDL had mixed before M drains
    const size_t afterM = session.Sound().size() / 2;
    std::this_thread::sleep_for(1s);
    EXPECT_GT(session.Sound().size() / 2, afterM + 22050) << "the output goes on";
    EXPECT_TRUE(session.SilentFrom(afterM)) << "M silences the mix";

    // Two pictures in one second: the second takes a name of its own.
    session.Xdo("key F12 key F12");
    session.Xdo("key F11");
    EXPECT_EQ(session.End(), 0);
    const std::string settings = session.Settings();
    EXPECT_NE(settings.find("mute = on\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("display = window\n"), std::string::npos) << settings;
    std::vector<std::string> pictures;
    for (const auto& entry : fs::directory_iterator(session.Path("pictures"))) pictures.push_back(entry.path().filename());
    EXPECT_EQ(pictures.size(), 2u);
}

TEST(PlayerShell, AKeyBoundInTheSettingsFileSteersTheDiver) {
    GameSession session;
    session.WriteSettings("key.turn-left = Left, A\n");
    ASSERT_TRUE(session.Start({"--trace", session.Path("trace.jsonl")}));
    std::this_thread::sleep_for(4500ms);  // the diver has left the aircraft
    session.Xdo("keydown a");
    std::this_thread::sleep_for(600ms);
    session.Xdo("keyup a");
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(session.End(), 0);
    // The player's heading (the twelfth value of slot 0) turns while the Left bit is held.
    int turning = 0;
    std::string heading;
    for (const std::string& line : Lines(session.Read("trace.jsonl"))) {
        std::string values = ObjectOf(line, 0);
        for (int i = 0; i < 12; ++i) values = values.substr(values.find(',') + 1);
        const std::string now = values.substr(0, values.find(','));
        if (Field(line, "controlFlags") == "1" && !heading.empty() && now != heading) ++turning;
        heading = now;
    }
    EXPECT_GT(turning, 3) << "A held turns the diver left";
}

TEST(PlayerShell, TheFocusLossPauseEndsWithTheFocusButNotThePlayersOwnPause) {
    GameSession session;
    ASSERT_TRUE(session.Start({"--pause-on-focus-loss"}));
    std::this_thread::sleep_for(1s);
    ASSERT_GT(session.SkyPixels(), 640 * 480 / 3) << "playing, the sky is bright";
    const auto settle = [] { std::this_thread::sleep_for(500ms); };

    session.FocusElsewhere();
    settle();
    EXPECT_EQ(session.SkyPixels(), 0) << "without the focus the game pauses, dimmed";
    session.FocusGame();
    settle();
    EXPECT_GT(session.SkyPixels(), 640 * 480 / 3) << "and goes on when the focus comes back";

    session.Xdo("key p");
    settle();
    EXPECT_EQ(session.SkyPixels(), 0) << "P pauses";
    session.FocusElsewhere();
    settle();
    session.FocusGame();
    settle();
    EXPECT_EQ(session.SkyPixels(), 0) << "the player's own pause outlasts the focus change";
    session.Xdo("key p");
    settle();
    EXPECT_GT(session.SkyPixels(), 640 * 480 / 3);
    EXPECT_EQ(session.End(), 0);
}

TEST(PlayerShell, APlaybackEndsWhenTheJumpUnderWayEndsNotAtItsLastEvent) {
    GameSession session;
    // Diving from frame 85 on, the first jump ends in a crash at frame 208.
    session.Write("dive.txt", "85 down down\n");
    ASSERT_EQ(std::system((REPLAY_PATH " --frames 209 --script " + session.Path("dive.txt") + " --trace " +
                           session.Path("replay.jsonl")).c_str()),
              0);
    const std::vector<std::string> replay = Lines(session.Read("replay.jsonl"));
    ASSERT_NE(replay.back().find("\"restartRequested\":1"), std::string::npos) << "the jump ends in frame 208";
    ASSERT_TRUE(session.Start({"--play", session.Path("dive.txt"), "--trace", session.Path("play.jsonl")}));
    EXPECT_EQ(session.WaitForExit(20000), 0);
    EXPECT_TRUE(Lines(session.Read("play.jsonl")) == replay) << "the playback shows frames 0 to 208, no fewer, no more";
}

TEST(PlayerShell, ARecordingOnAFullDiskKeepsWhatWasWrittenAndTheGameEndsWithStatus2) {
    GameSession session;
    // The file may not grow past 512 bytes, as a full disk would have it.
    ASSERT_TRUE(session.Start({"--record", session.Path("jump.txt")}, {"SDL_AUDIODRIVER=dummy"},
                              "trap '' XFSZ; ulimit -f 1; exec"));
    std::this_thread::sleep_for(4500ms);  // the diver has left the aircraft
    for (int i = 0; i < 5; ++i) {
        session.Xdo("key --delay 30 Left Right Left Right Left Right Left Right");
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_TRUE(session.WaitForLine(
        "Skyring: " + session.Path("jump.txt") + ": File too large; the recording stops here, the game goes on", 5000));
    EXPECT_EQ(session.End(), 2);
    const std::string kept = session.Read("jump.txt");
    EXPECT_GT(kept.size(), 300u);
    EXPECT_LE(kept.size(), 512u);
    EXPECT_EQ(std::system((REPLAY_PATH " --frames 1 --script " + session.Path("jump.txt")).c_str()), 0)
        << "what is kept is a whole recording:\n"
        << kept;
}

TEST(PlayerShell, TheSoundComesBackWhenItsServerRestarts) {
    GameSession session;
    const std::string socket = session.Path("pulse.sock");
    const std::vector<std::string> serverEnvironment = {"HOME=" + session.Path(""), "XDG_RUNTIME_DIR=" + session.Path(""),
                                                        "PULSE_RUNTIME_PATH=" + session.Path("")};
    const auto startServer = [&] {
        return Spawn({PULSEAUDIO_PATH, "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                      "--log-level=error", "-L", "module-null-sink", "-L",
                      "module-native-protocol-unix auth-anonymous=1 socket=" + socket},
                     serverEnvironment);
    };
    const auto streams = [&] { return RunCommand("PULSE_SERVER=unix:" + socket + " " PACTL_PATH " list short sink-inputs"); };
    const auto waitFor = [](auto condition) {
        for (int i = 0; i < 100 && !condition(); ++i) std::this_thread::sleep_for(50ms);
        return condition();
    };
    Child server = startServer();
    ChildGuard serverGuard{server};
    ASSERT_TRUE(waitFor([&] { return access(socket.c_str(), F_OK) == 0; })) << "the sound server did not start";
    ASSERT_TRUE(session.Start({}, {"SDL_AUDIODRIVER=pulseaudio", "PULSE_SERVER=unix:" + socket}));
    EXPECT_TRUE(waitFor([&] { return !streams().empty(); })) << "the game plays into the server";

    KillChild(server);
    EXPECT_TRUE(session.WaitForLine("Skyring: the sound output went away; playing in silence until it is back", 5000));
    unlink(socket.c_str());
    server = startServer();
    ASSERT_TRUE(waitFor([&] { return access(socket.c_str(), F_OK) == 0; }));
    EXPECT_TRUE(session.WaitForLine("Skyring: the sound output is back", 5000));
    EXPECT_FALSE(streams().empty()) << "the game plays into the new server";
    EXPECT_EQ(session.End(), 0);
}

// Outside any X server: the checks come before start-up, and a start that fails writes nothing.
TEST(PlayerShell, FilesNamedAreLeftAsTheyWereWhenTheGameCannotOrMayNotStart) {
    GameSession session;
    session.Write("old.txt", "# an earlier recording\n10 down left\n");
    session.Write("old.jsonl", "{}\n");
    const auto run = [&](const std::string& arguments) {
        const std::string out = RunCommand("cd '" + session.Path("") + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                                           GAME_PATH " " + arguments + " 2>&1; echo \"status $?\"");
        return out.substr(out.rfind("status "));
    };
    EXPECT_EQ(run("--record old.txt --trace old.jsonl"), "status 1\n") << "no display: the start fails";
    EXPECT_EQ(run("--play old.txt --trace ./old.txt"), "status 2\n");
    EXPECT_EQ(run("--record old.jsonl --trace old.jsonl"), "status 2\n");
    EXPECT_EQ(run("--record new.txt --play old.txt"), "status 2\n");
    EXPECT_EQ(session.Read("old.txt"), "# an earlier recording\n10 down left\n");
    EXPECT_EQ(session.Read("old.jsonl"), "{}\n");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(session.Path(""))) left.push_back(entry.path().filename());
    EXPECT_EQ(left.size(), 2u) << "nothing new beside them";
}

}  // namespace
