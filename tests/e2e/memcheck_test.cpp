// The game's memory under valgrind: a headless replay, and the real program starting in a
// private X server and ending on Escape. No invalid access, no uninitialised value, no leak.
#include <gtest/gtest.h>

#include "tests/e2e/xserver.h"

namespace {

std::vector<std::string> Memcheck(const TempFile& log, const std::string& leakKinds) {
    return {VALGRIND_PATH,
            "--error-exitcode=99",
            "--leak-check=full",
            "--show-leak-kinds=" + leakKinds,
            "--errors-for-leak-kinds=" + leakKinds,
            "--suppressions=" SUPPRESSIONS_PATH,
            "--log-file=" + log.path};
}

TEST(Memcheck, AReplayOfThreeHundredFramesFreesEverythingItMade) {
    TempFile log("skyring-memcheck");
    TempFile trace("skyring-memcheck-trace");
    std::vector<std::string> argv = Memcheck(log, "all");  // even memory still reachable at exit
    argv.insert(argv.end(), {REPLAY_PATH, "--frames", "300", "--trace", trace.path});
    Child replay = Spawn(argv, {});
    ChildGuard guard{replay};
    EXPECT_EQ(WaitForExit(replay, 120000), 0) << log.Contents();
}

TEST(Memcheck, TheGameStartsAndEndsOnEscapeCleanly) {
    XServer server = StartXServer(640, 480);
    XServerGuard serverGuard{server};
    ASSERT_GT(server.pid, 0) << "Xvfb did not start";
    TempFile log("skyring-memcheck");
    // The system's libraries keep some memory reachable until exit: not leaks.
    std::vector<std::string> argv = Memcheck(log, "definite,indirect,possible");
    argv.emplace_back(GAME_PATH);
    Child game = Spawn(argv, {"DISPLAY=" + server.display, "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                              "SDL_RENDER_DRIVER=software"});
    ChildGuard gameGuard{game};
    const std::string window = SettledWindow(server, "Direct X Game ", 1000, 60000);
    ASSERT_FALSE(window.empty()) << "the game's window did not appear\n" << log.Contents();
    RunCommand(Xdo(server) + "windowfocus --sync " + window + " key Escape");
    EXPECT_EQ(WaitForExit(game, 60000), 0) << log.Contents();
}

}  // namespace
