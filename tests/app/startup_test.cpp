// Every way start-up can fail: what is undone, and that the program says so and ends with 1.
#include <gtest/gtest.h>

#include "app/game.h"
#include "tests/app/game_fixture.h"

namespace {

struct FailureCase {
    const char* name;
    void (*arrange)();
    const char* line;  // what standard error must say
    std::vector<std::string> unwinding;  // releases and destruction, in order
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class StartUpFailure : public GameTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StartUpFailure, UndoesWhatWasMadeAndExitsWithStatusOne) {
    const FailureCase& c = GetParam();
    c.arrange();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame(), 1);
    const std::string error = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(error, c.line);
    std::vector<std::string> unwinding;
    bool soundReleased = false;
    for (const std::string& call : HeadlessCallLog()) {
        if (call.rfind("Audio", 0) == 0 && call.find("Release") != std::string::npos) {
            if (!soundReleased) unwinding.push_back("sound released");
            soundReleased = true;
        } else if (call.find("Release") != std::string::npos || call == "WindowDestroy") {
            unwinding.push_back(call);
        }
    }
    EXPECT_EQ(unwinding, c.unwinding);
    EXPECT_EQ(HeadlessWindow(), nullptr);
    EXPECT_EQ(mainWindow, nullptr);
    EXPECT_TRUE(soundRequests.empty()) << "no jump may be set up";
}

const std::vector<std::string> kDisplayReleases{"SurfaceRelease offscreen", "PaletteRelease", "SurfaceRelease primary",
                                                "DisplayRelease", "WindowDestroy"};

std::vector<std::string> WithSound(std::vector<std::string> releases) {
    releases.insert(releases.begin(), "sound released");
    return releases;
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, StartUpFailure,
    ::testing::Values(
        FailureCase{"Window", [] { HeadlessFailCall("WindowCreate", 1, 1); }, "Skyring could not create its window\n",
                    {}},
        FailureCase{"DisplayMode", [] { HeadlessFailCall("DisplaySetMode", 1, 0x88760078); },
                    "DirectDraw Init Failed at 30 error_code=88760078\n", {"DisplayRelease", "WindowDestroy"}},
        FailureCase{"Palette", [] { HeadlessHideResource("BITMAP", "BITMAP"); }, "Palette Init Failed at 123\n",
                    kDisplayReleases},
        FailureCase{"Bitmap", [] { HeadlessFailCall("SurfaceSetColorKey", 1, 5); }, "Bitmap Init Failed at 198\n",
                    kDisplayReleases},
        FailureCase{"SoundDevice", [] { HeadlessFailCall("AudioCreate", 1, 0x88780078); },
                    "DirectSound Init Failed at 22 error_code=88780078\n", kDisplayReleases},
        FailureCase{"SoundClip3", [] { HeadlessHideResource("ORB_OPEN", "WAVE"); }, "SoundObject Init Failed at 85\n",
                    WithSound(kDisplayReleases)}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(GameTest, AMissingClipStopsTheLoadingAtItsSlot) {
    HeadlessHideResource("ORB_OPEN", "WAVE");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame(), 1);
    ::testing::internal::GetCapturedStderr();
    for (const char* loaded : {"ResourceFind ORB_BGM", "ResourceFind ORB_GET", "ResourceFind ORB_PUSH",
                               "ResourceFind ORB_OPEN"}) {
        EXPECT_TRUE(Logged(loaded)) << loaded;
    }
    for (const char* never : {"ResourceFind ORB_END", "ResourceFind ORB_PLAN", "ResourceFind ORB_BREK"}) {
        EXPECT_FALSE(Logged(never)) << never;
    }
}

}  // namespace
