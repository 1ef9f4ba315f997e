#include <gtest/gtest.h>

#include "platform/sdl/present_geometry.h"

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

}  // namespace
