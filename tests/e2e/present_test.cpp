// The real display backend in a real X server: the page's colours, crisp whole-number
// scaling, black bars, and the window's class and title.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include "tests/e2e/xserver.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0;

struct ScreenCase {
    int width, height;
    int x, y, w, h;  // where the page must land
};

void PrintTo(const ScreenCase& c, std::ostream* os) { *os << c.width << "x" << c.height; }

class PresentInXServer : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(PresentInXServer, ShowsThePageScaledIntoTheLargestFourByThreeRectangle) {
    const ScreenCase c = GetParam();
    XServer server = StartXServer(c.width, c.height);
    XServerGuard serverGuard{server};
    ASSERT_GT(server.pid, 0) << "Xvfb did not start";
    Child presenter = Spawn({PRESENT_PATTERN_PATH}, {"DISPLAY=" + server.display, "SDL_VIDEODRIVER=x11",
                                                    "SDL_AUDIODRIVER=dummy"});
    ChildGuard presenterGuard{presenter};
    ASSERT_TRUE(WaitForLine(presenter, "ready", 10000));

    // The X server may take a moment to show the last present.
    Screenshot shot;
    for (int attempt = 0; attempt < 40; ++attempt) {
        shot = TakeScreenshot(server.display);
        if (shot.width == c.width && shot.At(c.x + c.w / 4, c.y + c.h / 4 * 3) == kBlue) break;
        usleep(100000);
    }
    ASSERT_EQ(shot.width, c.width);
    ASSERT_EQ(shot.height, c.height);
    EXPECT_EQ(shot.At(c.x + c.w / 4 * 3, c.y + c.h / 4), kGreen);
    EXPECT_EQ(shot.At(c.x + c.w / 4, c.y + c.h / 4 * 3), kBlue);
    EXPECT_EQ(shot.At(c.x + c.w / 4 * 3, c.y + c.h / 4 * 3), kWhite);
    EXPECT_EQ(shot.At(c.x + c.w / 4, c.y + c.h / 2 - c.h / 8), kRed);
    // Everything outside the page's rectangle is black.
    if (c.x > 0) {
        EXPECT_EQ(shot.At(c.x - 1, c.height / 2), kBlack);
        EXPECT_EQ(shot.At(0, 0), kBlack);
        EXPECT_EQ(shot.At(c.x + c.w, c.height / 2), kBlack);
        EXPECT_EQ(shot.At(c.width - 1, c.height - 1), kBlack);
    }
    const int scale = c.w / 640;
    if (c.w == 640 * scale && c.h == 480 * scale) {
        // An exact multiple: every page pixel is a sharp scale x scale block.
        for (int py = 0; py < 4; ++py) {
            for (int px = 0; px < 4; ++px) {
                const uint32_t expected = (px + py) % 2 == 0 ? kRed : kWhite;
                for (int d = 0; d < scale * scale; ++d) {
                    EXPECT_EQ(shot.At(c.x + px * scale + d % scale, c.y + py * scale + d / scale), expected)
                        << "page pixel " << px << "," << py;
                }
            }
        }
    }

    const std::string wmClass =
        RunCommand("xprop -display " + server.display + " -name 'Direct X Game ' WM_CLASS 2>&1");
    EXPECT_NE(wmClass.find("\"orb\""), std::string::npos) << wmClass;

    kill(presenter.pid, SIGTERM);  // SDL turns it into a close request
    EXPECT_EQ(WaitForExit(presenter, 5000), 0);
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, PresentInXServer,
                         ::testing::Values(ScreenCase{640, 480, 0, 0, 640, 480},
                                           ScreenCase{1280, 960, 0, 0, 1280, 960},
                                           ScreenCase{1366, 768, 171, 0, 1024, 768},
                                           ScreenCase{1920, 1080, 240, 0, 1440, 1080},
                                           ScreenCase{3840, 2160, 480, 0, 2880, 2160}),
                         [](const ::testing::TestParamInfo<ScreenCase>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
