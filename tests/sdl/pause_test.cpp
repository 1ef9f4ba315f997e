// Pause in the real backend, without a screen (SDL's offscreen video, its dummy sound): the
// world, the game's clock and every clip stand still for as long as it lasts, and the frames
// after it are those an unpaused run shows.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/game.h"
#include "formats/trace.h"
#include "platform/device/hooks.h"
#include "platform/player.h"
#include "platform/sdl/sdl_backend.h"
#include "shell/player_shell.h"
#include "sound/sound.h"

namespace {

constexpr int kPauseAt = 90;  // the diver has left the aircraft
constexpr int kFrames = 110;
constexpr uint32_t kPauseMs = 3000;

// A frame's trace line up to its sounds, which only the headless backend records.
std::string World(int64_t frame) {
    const std::string line = TraceLine(frame, PageCrc(DeviceVisiblePage()), {}, 0);
    return line.substr(0, line.find(",\"sounds\""));
}

std::vector<size_t> ClipPositions() {
    std::vector<size_t> positions;
    for (AudioBuffer buffer : SoundBank) positions.push_back(DeviceVoicePosition(buffer));
    return positions;
}

void PressAndRelease(SDL_Keycode key) {
    for (uint32_t type : {SDL_KEYDOWN, SDL_KEYUP}) {
        SDL_Event event{};
        event.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        SDL_PushEvent(&event);
    }
}

// What the paused game sounds like from the timer thread, while the main thread waits in the
// frame's wait: the clips' places (which the mixer guards) and the pause (an atomic). The world
// itself is the main thread's; the frames after the pause show it held still.
struct Sample {
    std::vector<size_t> clips;
    bool paused = false;
};
Sample early, late;

TEST(Pause, HoldsTheWorldTheClockAndTheSoundThenTheFramesGoOnAsUnpaused) {
    char tracePath[] = "/tmp/skyring-pause-XXXXXX";
    const int fd = mkstemp(tracePath);
    ASSERT_GE(fd, 0);
    close(fd);
    const std::string replay = std::string(REPLAY_PATH) + " --frames " + std::to_string(kFrames) + " --trace " + tracePath;
    ASSERT_EQ(std::system(replay.c_str()), 0);
    std::ifstream traceFile(tracePath);
    std::vector<std::string> expected;
    for (std::string line; std::getline(traceFile, line);) expected.push_back(line.substr(0, line.find(",\"sounds\"")));
    std::remove(tracePath);
    ASSERT_EQ(expected.size(), size_t{kFrames});

    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_TIMER), 0);
    ShellStart(ShellRun{});
    ASSERT_EQ(StartUp(), 1);
    std::vector<std::string> seen;
    for (int frame = 0; frame < kPauseAt; ++frame) {
        ASSERT_TRUE(RunFrame());
        seen.push_back(World(frame));
    }
    // P is read in the next frame's wait, after that frame's update and drawing; the wait then
    // lasts until P comes again.
    PressAndRelease(SDLK_p);
    const auto sample = [](uint32_t, void* into) -> uint32_t {
        Sample& s = *static_cast<Sample*>(into);
        s = Sample{ClipPositions(), PlatformHeld()};
        if (&s == &late) PressAndRelease(SDLK_p);
        return 0;
    };
    SDL_AddTimer(500, sample, &early);
    SDL_AddTimer(kPauseMs, sample, &late);
    const uint32_t tickBefore = TickCount();
    const auto wallBefore = std::chrono::steady_clock::now();
    ASSERT_TRUE(RunFrame());
    seen.push_back(World(kPauseAt));
    const auto wallMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - wallBefore).count();
    EXPECT_GE(wallMs, kPauseMs - 50);
    EXPECT_LT(TickCount() - tickBefore, 1000u) << "the game's clock stood still while paused";
    EXPECT_TRUE(early.paused && late.paused);
    EXPECT_EQ(early.clips, late.clips) << "the music and clips held their places";

    for (int frame = kPauseAt + 1; frame < kFrames; ++frame) {
        ASSERT_TRUE(RunFrame());
        seen.push_back(World(frame));
    }
    EXPECT_NE(ClipPositions(), late.clips) << "the sound plays on after the pause";
    for (int frame = 0; frame < kFrames; ++frame) EXPECT_EQ(seen[frame], expected[frame]) << "frame " << frame;

    MessagePost(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(RunFrame());
}

}  // namespace
