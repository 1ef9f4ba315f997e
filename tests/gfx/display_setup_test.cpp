// Display set-up, release and restore through the headless backend.
#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/display.h"
#include "gfx/draw.h"
#include "platform/headless/headless.h"
#include "tests/gfx/display_fixture.h"

namespace {

struct StepCase {
    int step;
    const char* operation;
    std::vector<std::string> releases;  // what the failure must release, in order
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << "step " << c.step; }

class InitDirectDrawFailure : public HeadlessDisplayTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(InitDirectDrawFailure, WritesOneLineReleasesWhatWasMadeAndDestroysTheWindow) {
    const StepCase& c = GetParam();
    HeadlessFailCall(c.operation, 1, 0x887600AB);
    HeadlessClearCallLog();

    EXPECT_EQ(InitDirectDraw(window, 640, 480, 640, 640), 0);

    ASSERT_EQ(HeadlessDebugLines().size(), 1u);
    EXPECT_EQ(HeadlessDebugLines()[0], "DirectDraw Init Failed at " + std::to_string(c.step) + " error_code=887600ab\n");
    EXPECT_EQ(Releases(), c.releases);
    EXPECT_EQ(destroyedWindows, 1);
    EXPECT_EQ(HeadlessWindow(), nullptr);
    EXPECT_EQ(Display.device, nullptr);
    EXPECT_EQ(Display.primarySurface, nullptr);
    EXPECT_EQ(Display.backBuffer, nullptr);
    EXPECT_EQ(Display.paletteObject, nullptr);
    EXPECT_EQ(Display.SheetSurface, nullptr);
    // Nothing after the failing step was attempted.
    const auto& log = HeadlessCallLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "DisplayCreateOffscreen"), c.step == 69 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, InitDirectDrawFailure,
    ::testing::Values(
        StepCase{22, "DisplayCreate", {}},
        StepCase{26, "DisplaySetExclusive", {"DisplayRelease"}},
        StepCase{30, "DisplaySetMode", {"DisplayRelease"}},
        StepCase{42, "DisplayCreatePrimary", {"DisplayRelease"}},
        StepCase{49, "SurfaceGetBackBuffer", {"SurfaceRelease primary", "DisplayRelease"}},
        StepCase{55, "DisplayCreatePalette", {"SurfaceRelease primary", "DisplayRelease"}},
        StepCase{59, "SurfaceSetPalette", {"PaletteRelease", "SurfaceRelease primary", "DisplayRelease"}},
        StepCase{69, "DisplayCreateOffscreen", {"PaletteRelease", "SurfaceRelease primary", "DisplayRelease"}}),
    [](const ::testing::TestParamInfo<StepCase>& info) { return "Step" + std::to_string(info.param.step); });

TEST_F(HeadlessDisplayTest, SetUpMakesEveryHandleAndReleaseUndoesItInReverseOnce) {
    ASSERT_EQ(InitDirectDraw(window, 640, 480, 640, 640), 1);
    EXPECT_TRUE(HeadlessDebugLines().empty());
    EXPECT_NE(Display.backBuffer, nullptr);
    EXPECT_NE(Display.SheetSurface, nullptr);

    HeadlessClearCallLog();
    ReleaseDirectDraw();
    EXPECT_EQ(Releases(), (std::vector<std::string>{"SurfaceRelease offscreen", "PaletteRelease",
                                                    "SurfaceRelease primary", "DisplayRelease"}));
    HeadlessClearCallLog();
    ReleaseDirectDraw();
    EXPECT_TRUE(HeadlessCallLog().empty());
    EXPECT_EQ(destroyedWindows, 0);
}

TEST_F(HeadlessDisplayTest, TheBackBufferIsReleasedOnlyWithItsPrimary) {
    ASSERT_EQ(InitDirectDraw(window, 640, 480, 640, 640), 1);
    EXPECT_EQ(SurfaceRelease(Display.backBuffer), DDERR_INVALIDPARAMS);
    ASSERT_EQ(SurfaceFill(Display.backBuffer, 4), DD_OK);
    ASSERT_EQ(SurfaceFlip(Display.primarySurface), DD_OK);
    EXPECT_EQ(HeadlessVisiblePage()[0], 4);
}

TEST_F(HeadlessDisplayTest, OnlyTheGamesModeExists) {
    DisplayDevice device = nullptr;
    ASSERT_EQ(DisplayCreate(&device), 0u);
    ASSERT_EQ(DisplaySetExclusive(device, window), 0u);
    EXPECT_EQ(DisplaySetMode(device, 800, 600, 8), DDERR_INVALIDMODE);
    EXPECT_EQ(DisplaySetMode(device, 640, 480, 16), DDERR_INVALIDMODE);
    EXPECT_EQ(DisplaySetMode(device, 640, 480, 8), 0u);
    DisplayRelease(device);
}

TEST_F(HeadlessDisplayTest, LostSurfacesFailEveryDrawUntilRestoredThenShowBlack) {
    ASSERT_EQ(InitDirectDraw(window, 640, 480, 640, 640), 1);
    const RECT tile{0, 0, 64, 64};
    HeadlessLoseSurfaces();
    ClearScreen();
    PutBitmap(0, 0, &tile);
    Flip();
    EXPECT_EQ(HeadlessDebugLines(), (std::vector<std::string>{"ClearScreen Failed at 284 error_code=887601c2\n",
                                                              "PutBitmap Failed at 218 error_code=887601c2\n",
                                                              "Flip Failed at 264 error_code=887601c2\n"}));
    HeadlessClearDebugLines();
    HeadlessClearCallLog();
    RestoreDirectDraw();
    EXPECT_EQ(HeadlessCallLog(),
              (std::vector<std::string>{"SurfaceIsLost offscreen", "SurfaceRestore offscreen", "SurfaceIsLost primary",
                                        "SurfaceRestore primary", "SurfaceFill back", "SurfaceFlip"}));
    EXPECT_TRUE(HeadlessDebugLines().empty());
    const uint8_t* page = HeadlessVisiblePage();
    EXPECT_TRUE(std::all_of(page, page + 640 * 480, [](uint8_t i) { return i == 0; }));
}

TEST_F(HeadlessDisplayTest, RestoreLeavesSurfacesThatAreNotLostAlone) {
    ASSERT_EQ(InitDirectDraw(window, 640, 480, 640, 640), 1);
    HeadlessClearCallLog();
    RestoreDirectDraw();
    EXPECT_EQ(HeadlessCallLog(), (std::vector<std::string>{"SurfaceIsLost offscreen", "SurfaceIsLost primary",
                                                           "SurfaceFill back", "SurfaceFlip"}));
}

}  // namespace
