// The Debian package: made by CPack from this build into a scratch folder, then listed,
// checked by lintian and unpacked into a scratch root to run and validate what it holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "tests/install/shell.h"

namespace fs = std::filesystem;

namespace {

std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    return s;
}

// One package for all the tests this program runs: cpack is the slow part.
class PackageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = std::make_unique<ScratchFolder>("skyring-package");
        const std::string arch = Trim(RunShell("dpkg --print-architecture").text);
        deb = scratch->path / ("skyring_" SKYRING_VERSION "_" + arch + ".deb");
        root = scratch->path / "root";
        cpack = RunShell(Quote(CPACK_PATH) + " --config " + Quote(std::string(BUILD_DIR) + "/CPackConfig.cmake") + " -B " +
                         Quote(scratch->path.string()));
        if (cpack.status == 0) unpacked = RunShell("dpkg-deb -x " + Quote(deb.string()) + " " + Quote(root.string()));
    }
    static void TearDownTestSuite() { scratch.reset(); }

    void SetUp() override {
        ASSERT_EQ(cpack.status, 0) << cpack.text;
        ASSERT_EQ(unpacked.status, 0) << unpacked.text;
    }

    static std::string Field(const char* name) { return Trim(RunShell("dpkg-deb -f " + Quote(deb.string()) + " " + name).text); }

    static inline std::unique_ptr<ScratchFolder> scratch;
    static inline fs::path deb, root;
    static inline ShellOutput cpack, unpacked;
};

// The packaging notes' table of the package's files: every `/usr/...` path in its rows' first cells.
std::set<std::string> FilesTheNotesList() {
    std::ifstream notes(PACKAGING_DOC_PATH);
    std::set<std::string> files;
    const std::regex path("`(/usr/[^`]+)`");
    for (std::string line; std::getline(notes, line);) {
        if (line.rfind("| `/usr/", 0) != 0) continue;
        const std::string cell = line.substr(0, line.find(" |", 1));
        for (std::sregex_iterator it(cell.begin(), cell.end(), path), end; it != end; ++it) files.insert((*it)[1]);
    }
    return files;
}

TEST_F(PackageTest, HoldsExactlyTheFilesItsNotesList) {
    const ShellOutput listing = RunShell("dpkg-deb -c " + Quote(deb.string()));
    ASSERT_EQ(listing.status, 0) << listing.text;
    std::set<std::string> files;
    std::istringstream lines(listing.text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == 'd') continue;
        EXPECT_NE(line.find(" root/root "), std::string::npos) << line;
        const size_t dot = line.rfind(" ./");
        ASSERT_NE(dot, std::string::npos) << line;
        files.insert(line.substr(dot + 2));
    }
    const std::set<std::string> listed = FilesTheNotesList();
    EXPECT_FALSE(listed.empty()) << "no table of /usr paths in " PACKAGING_DOC_PATH;
    EXPECT_EQ(files, listed);
}

TEST_F(PackageTest, ControlFieldsComeFromTheProjectAndTheLinkedLibraries) {
    EXPECT_EQ(Field("Package"), "skyring");
    EXPECT_EQ(Field("Version"), SKYRING_VERSION);
    EXPECT_EQ(Field("Section"), "games");
    // dpkg-shlibdeps read the programs: SDL for the game, the C++ runtime for both.
    const std::string depends = Field("Depends");
    for (const char* library : {"libsdl2-2.0-0", "libstdc++6", "libc6"}) {
        EXPECT_NE(depends.find(library), std::string::npos) << depends;
    }
}

// Information tags may stay (the hardening flags are a distribution's build's to set).
TEST_F(PackageTest, LintianFindsNoErrorOrWarning) {
    const ShellOutput lintian = RunShell("lintian --fail-on error,warning " + Quote(deb.string()));
    ASSERT_NE(lintian.status, 127) << "lintian is missing: it comes with the Debian package lintian";
    EXPECT_EQ(lintian.status, 0) << lintian.text;
}

TEST_F(PackageTest, UnpackedReplayRunsFromTheGamesFolder) {
    const std::string replay = Quote((root / "usr/games/skyring-replay").string());
    const ShellOutput run = RunShell(replay + " --frames 5 --trace -");
    EXPECT_EQ(run.status, 0) << run.text;
    EXPECT_EQ(run.text.rfind("{\"frame\":0,", 0), 0u) << run.text;
    EXPECT_EQ(RunShell(replay + " --version").text, "skyring-replay " SKYRING_VERSION "\n");
}

TEST_F(PackageTest, DesktopEntryAndMetainfoValidate) {
    const fs::path share = root / "usr/share";
    const ShellOutput entry = RunShell("desktop-file-validate " + Quote((share / "applications/org.skyring.Skyring.desktop").string()));
    EXPECT_EQ(entry.status, 0) << entry.text;
    EXPECT_EQ(entry.text, "") << "hints and warnings count too";

    const fs::path metainfo = share / "metainfo/org.skyring.Skyring.metainfo.xml";
    const ShellOutput check = RunShell("appstreamcli validate --no-net " + Quote(metainfo.string()));
    ASSERT_NE(check.status, 127) << "appstreamcli is missing: it comes with the Debian package appstream";
    EXPECT_EQ(check.status, 0) << check.text;

    // The release is this version, and every screenshot it names is one the build took.
    std::ifstream in(metainfo);
    const std::string xml{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(xml.find("<release version=\"" SKYRING_VERSION "\""), std::string::npos);
    const std::regex image("<image[^>]*>[^<]*/([^/<]+\\.png)</image>");
    int images = 0;
    for (std::sregex_iterator it(xml.begin(), xml.end(), image), end; it != end; ++it, ++images) {
        EXPECT_TRUE(fs::is_regular_file(fs::path(SCREENSHOT_DIR) / (*it)[1].str())) << (*it)[1];
    }
    EXPECT_EQ(images, 3);
}

// The manual pages render without a warning, and every option each program's own usage names
// is in its page.
TEST_F(PackageTest, ManualPagesRenderWithoutWarningsAndCoverEveryOption) {
    std::map<std::string, std::string> rendered;
    for (const char* page : {"skyring.6.gz", "skyring-replay.6.gz"}) {
        SCOPED_TRACE(page);
        const fs::path warnings = scratch->path / "man-warnings.txt";
        const ShellOutput render = RunShell("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l " +
                                            Quote((root / "usr/share/man/man6" / page).string()) + " 2>" + Quote(warnings.string()));
        EXPECT_EQ(render.status, 0) << render.text;
        std::ifstream in(warnings);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "");
        EXPECT_NE(render.text.find("EXIT STATUS"), std::string::npos) << render.text;
        rendered[page] = render.text;
    }
    for (const auto& [program, least] : {std::pair<std::string, int>{"skyring", 9}, {"skyring-replay", 7}}) {
        const std::string& page = rendered[program + ".6.gz"];
        const ShellOutput usage = RunShell(Quote((root / "usr/games" / program).string()) + " --help");
        const std::regex option("--[a-z-]+");
        int options = 0;
        for (std::sregex_iterator it(usage.text.begin(), usage.text.end(), option), end; it != end; ++it, ++options) {
            EXPECT_NE(page.find(it->str()), std::string::npos) << program << ": " << it->str();
        }
        EXPECT_GE(options, least) << program;
    }
}

}  // namespace
