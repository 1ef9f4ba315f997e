#include <gtest/gtest.h>

#include "platform/device/present_geometry.h"

namespace {

TEST(PresentGeometry, WholeFactorThenLargestCentredFourByThree) {
    struct Case {
        int w, h;
        PresentGeometry expected;
    };
    for (Case c : {Case{640, 480, {1, 0, 0, 640, 480}}, Case{1280, 960, {2, 0, 0, 1280, 960}},
                   Case{1920, 1080, {2, 240, 0, 1440, 1080}}, Case{1366, 768, {1, 171, 0, 1024, 768}},
                   Case{800, 1000, {1, 0, 200, 800, 600}}, Case{320, 240, {1, 0, 0, 320, 240}},
                   Case{2560, 1440, {3, 320, 0, 1920, 1440}}, Case{3840, 2160, {4, 480, 0, 2880, 2160}}}) {
        const PresentGeometry g = ComputePresentGeometry(c.w, c.h);
        EXPECT_EQ(g.factor, c.expected.factor) << c.w << "x" << c.h;
        EXPECT_EQ(g.x, c.expected.x) << c.w << "x" << c.h;
        EXPECT_EQ(g.y, c.expected.y) << c.w << "x" << c.h;
        EXPECT_EQ(g.w, c.expected.w) << c.w << "x" << c.h;
        EXPECT_EQ(g.h, c.expected.h) << c.w << "x" << c.h;
    }
}

TEST(PresentGeometry, IntegerScalingKeepsTheWholeFactorWithWiderBars) {
    const PresentGeometry g = ComputePresentGeometry(1920, 1080, true);
    EXPECT_EQ(g.factor, 2);
    EXPECT_EQ(g.x, 320);
    EXPECT_EQ(g.y, 60);
    EXPECT_EQ(g.w, 1280);
    EXPECT_EQ(g.h, 960);
    const PresentGeometry small = ComputePresentGeometry(320, 240, true);
    EXPECT_EQ(small.w, 320) << "a screen smaller than the page still shows all of it";
}

TEST(PresentGeometry, AWindowIsTheLargestWholeMultipleInEightyFivePercentOfTheDesktop) {
    struct Case {
        int desktopW, desktopH, w, h;
    };
    for (Case c : {Case{1920, 1080, 640, 480}, Case{2560, 1440, 1280, 960}, Case{3840, 2160, 1920, 1440},
                   Case{1280, 1024, 640, 480}, Case{640, 480, 640, 480}, Case{1600, 1200, 1280, 960}}) {
        const WindowSize s = WindowedSize(c.desktopW, c.desktopH);
        EXPECT_EQ(s.w, c.w) << c.desktopW << "x" << c.desktopH;
        EXPECT_EQ(s.h, c.h) << c.desktopW << "x" << c.desktopH;
    }
}

}  // namespace
