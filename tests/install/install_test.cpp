// `cmake --install` into a private prefix: what lands there, and that it works from there.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/install/shell.h"

namespace fs = std::filesystem;

namespace {

const std::set<std::string> kInstalled = {
    "bin/skyring",
    "bin/skyring-replay",
    "share/applications/org.skyring.Skyring.desktop",
    "share/metainfo/org.skyring.Skyring.metainfo.xml",
    "share/icons/hicolor/48x48/apps/skyring.png",
    "share/icons/hicolor/256x256/apps/skyring.png",
    "share/man/man6/skyring.6.gz",
    "share/man/man6/skyring-replay.6.gz",
    "share/doc/skyring/copyright",
    "share/doc/skyring/changelog.gz",
};

// A fresh prefix with the build installed into it, removed again at the end. Installing the
// default component by name keeps the build's own install_manifest.txt, the record of the
// user's real install, untouched: this run's list goes to install_manifest_Unspecified.txt.
struct Install {
    ScratchFolder scratch{"skyring-install"};
    const fs::path& prefix = scratch.path;
    ShellOutput result;
    Install() {
        result = RunShell(Quote(CMAKE_PATH) + " --install " + Quote(BUILD_DIR) + " --component Unspecified --prefix " +
                     Quote(prefix.string()));
    }
    std::set<std::string> Files() const {
        std::set<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(prefix)) {
            if (!entry.is_directory()) files.insert(fs::relative(entry.path(), prefix).string());
        }
        return files;
    }
};

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(install.result.status, 0) << install.result.text; }
    Install install;
};

TEST_F(InstallTest, PutsTheProgramsTheEntryAndTheIconsWhereADesktopLooks) {
    EXPECT_EQ(install.Files(), kInstalled);
    for (const char* program : {"bin/skyring", "bin/skyring-replay"}) {
        EXPECT_EQ(access((install.prefix / program).c_str(), X_OK), 0) << program;
    }
}

TEST_F(InstallTest, DesktopEntryValidatesAndNamesTheInstalledGameAndIcon) {
    const fs::path entry = install.prefix / "share/applications/org.skyring.Skyring.desktop";
    const ShellOutput check = RunShell("desktop-file-validate " + Quote(entry.string()));
    ASSERT_NE(check.status, 127) << "desktop-file-validate is missing: it comes with the Debian package desktop-file-utils";
    EXPECT_EQ(check.status, 0) << check.text;
    EXPECT_EQ(check.text, "") << "hints and warnings count too";

    std::ifstream in(entry);
    std::set<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.insert(line);
    for (const char* line : {"Name=Skyring", "Exec=skyring", "Icon=skyring", "Terminal=false", "Categories=Game;ArcadeGame;"}) {
        EXPECT_EQ(lines.count(line), 1u) << line;
    }
    bool commented = false;
    for (const std::string& line : lines) commented |= line.rfind("Comment=", 0) == 0 && line.size() > 8;
    EXPECT_TRUE(commented);
}

TEST_F(InstallTest, IconsAreSquareWithAnAlphaChannelAndSoftCorners) {
    for (int size : {48, 256}) {
        SCOPED_TRACE(size);
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const fs::path path = install.prefix / "share/icons/hicolor" / name / "apps/skyring.png";
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
        EXPECT_EQ(image.width, static_cast<png_uint_32>(size));
        EXPECT_EQ(image.height, static_cast<png_uint_32>(size));
        EXPECT_TRUE(image.format & PNG_FORMAT_FLAG_ALPHA) << "the file itself carries alpha";
        image.format = PNG_FORMAT_RGBA;
        std::vector<png_byte> rgba(PNG_IMAGE_SIZE(image));
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) << image.message;

        const auto alpha = [&](int x, int y) { return rgba[(static_cast<size_t>(y) * size + x) * 4 + 3]; };
        EXPECT_EQ(alpha(0, 0), 0);
        EXPECT_EQ(alpha(size - 1, size - 1), 0);
        EXPECT_EQ(alpha(size / 2, size / 2), 255);
        int soft = 0;
        std::set<uint32_t> colours;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                soft += alpha(x, y) > 0 && alpha(x, y) < 255;
                const png_byte* p = &rgba[(static_cast<size_t>(y) * size + x) * 4];
                colours.insert(uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
            }
        }
        EXPECT_GE(soft, size / 2) << "the rounded edge is smoothed";
        EXPECT_GE(colours.size(), 20u) << "a picture, not a flat tile";
    }
}

TEST_F(InstallTest, InstalledReplayRunsWithoutTheBuildTree) {
    const ShellOutput run = RunShell(Quote((install.prefix / "bin/skyring-replay").string()) + " --frames 5 --trace -");
    EXPECT_EQ(run.status, 0) << run.text;
    EXPECT_EQ(run.text.rfind("{\"frame\":0,", 0), 0u) << run.text;
}

// The README's uninstall: remove every file the install's manifest lists.
TEST_F(InstallTest, ManifestListsEveryFileSoRemovingThemUninstalls) {
    const fs::path manifest = fs::path(BUILD_DIR) / "install_manifest_Unspecified.txt";
    const ShellOutput removal = RunShell("xargs rm < " + Quote(manifest.string()));
    EXPECT_EQ(removal.status, 0) << removal.text;
    EXPECT_EQ(install.Files(), std::set<std::string>{});
}

}  // namespace
