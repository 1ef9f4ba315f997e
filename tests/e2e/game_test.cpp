// The real game in a real X server: it starts, shows the sky and the aircraft, turns the
// diver on the arrow keys, plays its music, idles cheaply, and ends on Escape.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <vector>

#include "gfx/packed_bitmap.h"
#include "tests/e2e/xserver.h"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t kSky = 0x00D6FF;  // the backdrop colour (0, 214, 255)

struct Sheet {
    std::vector<uint8_t> file;
    PackedBitmap bitmap{};
    uint32_t Colour(uint8_t index) const {
        const uint8_t* q = bitmap.colours + 4 * index;
        return uint32_t{q[2]} << 16 | uint32_t{q[1]} << 8 | q[0];
    }
    uint8_t At(int x, int y) const {  // picture coordinates, top row 0
        const int stored = bitmap.bottomUp ? bitmap.height - 1 - y : y;
        return bitmap.pixels[static_cast<size_t>(stored) * bitmap.stride + x];
    }
};

Sheet LoadSheet() {
    Sheet sheet;
    std::ifstream in(SHEET_PATH, std::ios::binary);
    sheet.file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    EXPECT_GT(sheet.file.size(), 14u);
    if (sheet.file.size() > 14) {
        EXPECT_TRUE(ReadBitmap8(sheet.file.data() + 14, sheet.file.size() - 14, &sheet.bitmap));
    }
    return sheet;
}

// The heading whose free-fall picture best matches the screen at the player's place,
// (320, 200) give or take the one-pixel jitter; -1 when none matches well.
int DiverHeading(const Screenshot& shot, const Sheet& sheet) {
    int best = -1;
    double bestShare = 0.9;  // another picture may overlap the diver a little
    for (int k = 0; k < 36; ++k) {
        const int left = 32 * (k % 18), top = 512 + 32 * (k / 18);
        for (int jy = -1; jy <= 1; ++jy) {
            for (int jx = -1; jx <= 1; ++jx) {
                int opaque = 0, matched = 0;
                for (int y = 0; y < 32; ++y) {
                    for (int x = 0; x < 32; ++x) {
                        const uint8_t index = sheet.At(left + x, top + y);
                        if (index == 0) continue;
                        ++opaque;
                        if (shot.At(320 + jx + x, 200 + jy + y) == sheet.Colour(index)) ++matched;
                    }
                }
                const double share = opaque > 0 ? static_cast<double>(matched) / opaque : 0.0;
                if (share > bestShare) {
                    bestShare = share;
                    best = k;
                }
            }
        }
    }
    return best;
}

long CpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields after the command's closing parenthesis: utime is the 12th, stime the 13th.
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 1; i <= 13 && rest >> field; ++i) {
        if (i == 12) utime = std::stol(field);
        if (i == 13) stime = std::stol(field);
    }
    return utime + stime;
}

TEST(GameInXServer, PlaysAndEndsOnEscape) {
    const Sheet sheet = LoadSheet();
    ASSERT_NE(sheet.bitmap.pixels, nullptr);
    XServer server = StartXServer(640, 480);
    XServerGuard serverGuard{server};
    ASSERT_GT(server.pid, 0) << "Xvfb did not start";
    const TempFile audio("skyring-audio");
    ASSERT_FALSE(audio.path.empty());

    const auto started = std::chrono::steady_clock::now();
    // Without a GPU, SDL's own software renderer starts faster and costs less than emulated GL.
    Child game = Spawn({GAME_PATH}, {"DISPLAY=" + server.display, "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=disk",
                                     "SDL_DISKAUDIOFILE=" + audio.path, "SDL_RENDER_DRIVER=software"});
    ChildGuard gameGuard{game};
    const std::string xdo = "DISPLAY=" + server.display + " xdotool ";
    // Without a window manager the window gets the keyboard only when told to.
    for (int i = 0; i < 50 && RunCommand(xdo + "search --name 'Direct X Game '").empty(); ++i) {
        std::this_thread::sleep_for(100ms);
    }
    RunCommand(xdo + "search --name 'Direct X Game ' windowfocus --sync");

    std::this_thread::sleep_until(started + 2s);
    Screenshot shot = TakeScreenshot(server.display);
    ASSERT_EQ(shot.width, 640);
    int sky = 0, aircraft = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) sky += shot.At(x, y) == kSky;
    }
    for (int y = 195; y < 270; ++y) {
        for (int x = 315; x < 390; ++x) aircraft += shot.At(x, y) != kSky && shot.At(x, y) != 0;
    }
    EXPECT_GT(sky, 640 * 480 / 2) << "the sky should fill most of the screen";
    EXPECT_GT(aircraft, 400) << "the aircraft should show at the player's place";

    // The diver leaves the aircraft after 81 frames of at least 50 ms, a little over 4 s.
    const long cpuBefore = CpuTicks(game.pid);
    const auto playFrom = std::chrono::steady_clock::now();
    // A screenshot may catch a page half drawn, so each check looks a few times.
    auto headingSeen = [&](auto wanted) {
        int heading = -1;
        for (int attempt = 0; attempt < 50 && !wanted(heading); ++attempt) {
            if (attempt > 0) std::this_thread::sleep_for(100ms);
            heading = DiverHeading(TakeScreenshot(server.display), sheet);
        }
        return heading;
    };
    std::this_thread::sleep_until(started + 4500ms);
    EXPECT_EQ(headingSeen([](int h) { return h == 0; }), 0) << "untouched, the diver faces down the screen";

    RunCommand(xdo + "keydown Left");
    std::this_thread::sleep_for(400ms);
    RunCommand(xdo + "keyup Left");
    const int turned = headingSeen([](int h) { return h > 2 && h < 18; });
    EXPECT_GT(turned, 2) << "holding Left turns the diver";
    EXPECT_LT(turned, 18);

    std::this_thread::sleep_until(playFrom + 10s);
    const long cpu = CpuTicks(game.pid) - cpuBefore;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - playFrom).count();
    const double share = static_cast<double>(cpu) / static_cast<double>(sysconf(_SC_CLK_TCK)) / wall;
    RecordProperty("cpu_share_percent", std::to_string(100.0 * share));
    std::printf("CPU while playing: %.1f %% of wall time\n", 100.0 * share);
#ifndef SKYRING_SANITIZED
    EXPECT_LT(share, 0.10);
#endif

    const auto escape = std::chrono::steady_clock::now();
    RunCommand(xdo + "key Escape");
    EXPECT_EQ(WaitForExit(game, 1000), 0) << "Escape ends the game within a second, with status 0";
    EXPECT_LT(std::chrono::steady_clock::now() - escape, 1s);

    // The music was mixed into the disk driver's file: 16-bit stereo, clearly not silence.
    const std::string bytes = audio.Contents();
    ASSERT_GT(bytes.size(), 44100u * 4);
    double energy = 0;
    const size_t samples = bytes.size() / 2;
    for (size_t i = 0; i < samples; ++i) {
        const uint16_t bits =
            static_cast<uint16_t>(static_cast<uint8_t>(bytes[2 * i]) | static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
        const int16_t s = static_cast<int16_t>(bits);
        energy += static_cast<double>(s) * s;
    }
    EXPECT_GT(energy / static_cast<double>(samples), 500.0 * 500.0) << "the music should be heard";
}

}  // namespace
