// The player's settings file, the command line over it, and where pictures of the screen go.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/session.h"
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

TEST(Settings, OnlyARegularFileOfASaneSizeIsReadAndAnythingElseIsOneWarning) {
    TempFolder folder;
    const fs::path fifo = folder.path / "fifo.ini", zero = folder.path / "zero.ini", big = folder.path / "big.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // no writer: reading it would wait for ever
    fs::create_symlink("/dev/zero", zero);
    Write(big, "mute = on\n" + std::string(64 * 1024, '#'));
    for (const auto& [path, why] : {std::pair{fifo, "not a regular file"}, {zero, "not a regular file"}, {big, "larger than 64 KiB"}}) {
        std::vector<std::string> warnings;
        EXPECT_TRUE(Same(ReadSettings(path.string(), &warnings), ShellSettings{}));
        ASSERT_EQ(warnings.size(), 1u) << path;
        EXPECT_EQ(warnings[0], path.string() + ": " + why + "; using the defaults");
    }
}

// As the player: root may replace any file, so a root test writes as nobody.
bool WriteSettingsAsThePlayer(const std::string& path, std::string* warning) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
        std::string said;
        const bool written = WriteSettings(path, ShellSettings{true, true, Scaling::Sharp, false}, &said);
        [[maybe_unused]] const ssize_t sent = write(fds[1], said.data(), said.size());
        _exit(written ? 0 : 1);
    }
    close(fds[1]);
    char buffer[512];
    const ssize_t got = read(fds[0], buffer, sizeof buffer);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got > 0) warning->assign(buffer, static_cast<size_t>(got));
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(Settings, AFileThePlayerMadeReadOnlyIsNotReplaced) {
    TempFolder folder;
    const fs::path path = folder.path / "settings.ini";
    Write(path, "display = window\n");
    chmod(folder.path.c_str(), 0777);  // the folder is nobody's too
    chmod(path.c_str(), 0444);
    std::string warning;
    EXPECT_FALSE(WriteSettingsAsThePlayer(path.string(), &warning));
    EXPECT_EQ(warning, path.string() + ": Permission denied; settings not saved");
    EXPECT_EQ(Read(path), "display = window\n");
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

// Sets environment variables for one test and puts them back after it.
struct ScopedEnvironment {
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    void Set(const std::string& name, const char* value) {
        const char* was = std::getenv(name.c_str());
        saved.emplace_back(name, was ? std::optional<std::string>(was) : std::nullopt);
        value ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str());
    }
    ~ScopedEnvironment() {
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
            it->second ? setenv(it->first.c_str(), it->second->c_str(), 1) : unsetenv(it->first.c_str());
        }
    }
};

TEST(Settings, TheFileLivesUnderTheConfigHomeOrHome) {
    ScopedEnvironment environment;
    environment.Set("XDG_CONFIG_HOME", "/c");
    environment.Set("HOME", "/h");
    EXPECT_EQ(SettingsPath(), "/c/skyring/settings.ini");
    environment.Set("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(SettingsPath(), "/h/.config/skyring/settings.ini");
    environment.Set("XDG_CONFIG_HOME", nullptr);
    environment.Set("HOME", nullptr);
    EXPECT_EQ(SettingsPath(), "");
}

TEST(Pictures, GoWhereTheDesktopsUserDirsSayElseToPicturesAtHome) {
    TempFolder folder;
    ScopedEnvironment environment;
    environment.Set("XDG_PICTURES_DIR", nullptr);
    environment.Set("HOME", folder.path.c_str());
    environment.Set("XDG_CONFIG_HOME", (folder.path / "config").c_str());
    EXPECT_EQ(PicturesFolder(), (folder.path / "Pictures").string());
    fs::create_directory(folder.path / "config");
    Write(folder.path / "config" / "user-dirs.dirs", "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(PicturesFolder(), (folder.path / "Bilder").string());
    environment.Set("XDG_PICTURES_DIR", "/somewhere/else");
    EXPECT_EQ(PicturesFolder(), "/somewhere/else");
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
