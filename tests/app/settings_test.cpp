// The player's settings file and the command line over it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/settings.h"

namespace {

namespace fs = std::filesystem;

struct TempFolder {
    fs::path path;
    TempFolder() {
        char name[] = "/tmp/skyring-settings-XXXXXX";
        path = mkdtemp(name);
    }
    ~TempFolder() { fs::remove_all(path); }
};

std::string Read(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void Write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

bool Same(const ShellSettings& a, const ShellSettings& b) {
    return a.windowed == b.windowed && a.muted == b.muted && a.scaling == b.scaling &&
           a.pauseOnFocusLoss == b.pauseOnFocusLoss;
}

TEST(Settings, WhatIsWrittenReadsBackAndTheFolderIsMadeOnTheFirstSave) {
    TempFolder folder;
    const fs::path path = folder.path / "skyring" / "settings.ini";
    const ShellSettings chosen{true, true, Scaling::Integer, true};
    std::string warning;
    ASSERT_TRUE(WriteSettings(path.string(), chosen, &warning)) << warning;
    std::vector<std::string> warnings;
    EXPECT_TRUE(Same(ReadSettings(path.string(), &warnings), chosen)) << Read(path);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()), 1)
        << "no temporary file is left beside it";

    EXPECT_TRUE(Same(ReadSettings((folder.path / "none.ini").string(), &warnings), ShellSettings{}));
    EXPECT_TRUE(warnings.empty()) << "a missing file is the first run, not a fault";
}

TEST(Settings, LinesItCannotUseAreWarningsNamingFileAndLineAndTheRestStillCounts) {
    TempFolder folder;
    const std::string path = (folder.path / "settings.ini").string();
    Write(path, "# comment\n\ndisplay = window\nmute = loud\nvolume = 3\nno equals sign\n" + std::string(2000, 'x') +
                    "\n  scaling=integer  \r\npause-on-focus-loss = on");
    std::vector<std::string> warnings;
    const ShellSettings read = ReadSettings(path, &warnings);
    EXPECT_TRUE(Same(read, ShellSettings{true, false, Scaling::Integer, true}));
    ASSERT_EQ(warnings.size(), 4u);
    EXPECT_EQ(warnings[0].rfind(path + ":4: mute is off or on, not 'loud'", 0), 0u) << warnings[0];
    EXPECT_EQ(warnings[1].rfind(path + ":5: ", 0), 0u) << warnings[1];
    EXPECT_EQ(warnings[2].rfind(path + ":6: ", 0), 0u) << warnings[2];
    EXPECT_EQ(warnings[3].rfind(path + ":7: ", 0), 0u) << warnings[3];

    warnings.clear();
    EXPECT_TRUE(Same(ReadSettings(folder.path.string(), &warnings), ShellSettings{}));
    ASSERT_EQ(warnings.size(), 1u) << "a folder cannot be read as the file";
    EXPECT_EQ(warnings[0].rfind(folder.path.string() + ": ", 0), 0u) << warnings[0];
}

TEST(Settings, ASymlinkIsFollowedAndOnlyARegularFileIsReplaced) {
    TempFolder folder;
    const fs::path real = folder.path / "real.ini", link = folder.path / "settings.ini";
    Write(real, "display = window\n");
    chmod(real.c_str(), 0600);
    fs::create_symlink(real, link);
    std::string warning;
    ASSERT_TRUE(WriteSettings(link.string(), ShellSettings{false, true, Scaling::Sharp, false}, &warning)) << warning;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(Read(real).find("mute = on"), std::string::npos);
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    const fs::path notAFile = folder.path / "folder.ini";
    fs::create_directory(notAFile);
    EXPECT_FALSE(WriteSettings(notAFile.string(), ShellSettings{}, &warning));
    EXPECT_EQ(warning.rfind(notAFile.string() + ": not a regular file", 0), 0u) << warning;
    const fs::path underAFile = real / "settings.ini";
    EXPECT_FALSE(WriteSettings(underAFile.string(), ShellSettings{}, &warning));
    EXPECT_EQ(warning.rfind(underAFile.string() + ": ", 0), 0u) << warning;
}

TEST(Settings, TheFileLivesUnderTheConfigHomeOrHome) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::string savedConfig = config ? config : "", savedHome = home ? home : "";
    setenv("XDG_CONFIG_HOME", "/c", 1);
    setenv("HOME", "/h", 1);
    EXPECT_EQ(SettingsPath(), "/c/skyring/settings.ini");
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(SettingsPath(), "/h/.config/skyring/settings.ini");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    EXPECT_EQ(SettingsPath(), "");
    config ? setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    home ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
}

TEST(GameCommandLine, OptionsOverTheFileForThisRunOnly) {
    const ShellSettings file{false, true, Scaling::Sharp, true};
    std::vector<std::string> words = {"skyring", "--window", "--scaling", "integer"};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    GameOptions options;
    ASSERT_EQ(ParseGameCommandLine(static_cast<int>(argv.size()), argv.data(), &options), -1);
    EXPECT_TRUE(Same(ApplyOptions(options, file), ShellSettings{true, true, Scaling::Integer, true}));

    std::vector<std::string> bad = {"skyring", "--scaling", "blurry"};
    std::vector<char*> badArgv;
    for (std::string& word : bad) badArgv.push_back(word.data());
    GameOptions ignored;
    EXPECT_EQ(ParseGameCommandLine(static_cast<int>(badArgv.size()), badArgv.data(), &ignored), 2);
}

}  // namespace
