// The player's settings file and bindings, the command line and --help over them, the README's
// table of options, and where settings and pictures of the screen go.
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

#include "files/folders.h"
#include "platform/window.h"
#include "shell/options.h"
#include "shell/settings.h"

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

ShellSettings Parsed(const std::string& text, std::vector<std::string>* warnings) {
    return ParseSettings(text, "s.ini", warnings);
}

std::string Keys(const ShellSettings& settings, Action action) {
    return KeyChordsText(settings.bindings.keys[static_cast<size_t>(action)]);
}

TEST(Settings, WhatIsWrittenReadsBackAndTheFolderIsMadeOnTheFirstSave) {
    TempFolder folder;
    const fs::path path = folder.path / "skyring" / "settings.ini";
    ShellSettings chosen;
    chosen.windowed = chosen.muted = chosen.integerScaling = chosen.pauseOnFocusLoss = true;
    std::vector<std::string> warnings;
    chosen.bindings = Parsed("key.dive = Down, S\npad.let-go = y", &warnings).bindings;
    std::string warning;
    ASSERT_TRUE(WriteSettingsFile(path.string(), SettingsText(chosen), &warning)) << warning;
    const ShellSettings read = ReadSettings(path.string(), &warnings);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(SettingsText(read), SettingsText(chosen)) << Read(path);
    EXPECT_EQ(Keys(read, Action::Dive), "Down, S");
    EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()), 1)
        << "no temporary file is left beside it";

    EXPECT_EQ(SettingsText(ReadSettings((folder.path / "none.ini").string(), &warnings)), SettingsText(ShellSettings{}));
    EXPECT_TRUE(warnings.empty()) << "a missing file is the first run, not a fault";
}

TEST(Settings, LinesItCannotUseAreWarningsNamingFileAndLineAndTheRestStillCounts) {
    std::vector<std::string> warnings;
    const ShellSettings read = Parsed("# comment\n\ndisplay = window\nmute = loud\nvolume = 3\nno equals sign\n" +
                                          std::string(2000, 'x') + "\n  scaling=integer  \r\npause-on-focus-loss = on",
                                      &warnings);
    EXPECT_TRUE(read.windowed && !read.muted && read.integerScaling && read.pauseOnFocusLoss);
    ASSERT_EQ(warnings.size(), 4u);
    EXPECT_EQ(warnings[0], "s.ini:4: mute is off or on, not 'loud'; ignored");
    EXPECT_EQ(warnings[1], "s.ini:5: no setting is called 'volume'; ignored");
    EXPECT_EQ(warnings[2].rfind("s.ini:6: ", 0), 0u) << warnings[2];
    EXPECT_EQ(warnings[3], "s.ini:7: a line of over 1024 bytes; ignored");
}

TEST(Bindings, AFileMayBindOtherKeysAndButtonsButNeverOneToTwoActions) {
    std::vector<std::string> warnings;
    const ShellSettings read = Parsed("key.dive = Down, s\n"
                                      "key.turn-left = Keypad 4, Alt+A\n"
                                      "key.let-go = Up, Kaboom\n"
                                      "key.mute = Right\n"
                                      "pad.dive = X\n"
                                      "pad.quit = back+guide\n"
                                      "pad.pause = dpleft\n",
                                      &warnings);
    EXPECT_EQ(Keys(read, Action::Dive), "Down, S");
    EXPECT_EQ(Keys(read, Action::TurnLeft), "Keypad 4, Alt+A");
    EXPECT_EQ(Keys(read, Action::LetGo), "Up") << "an unknown name keeps the default";
    EXPECT_EQ(Keys(read, Action::Mute), "M") << "Right is turn-right's";
    EXPECT_EQ(PadChordsText(read.bindings.pads[static_cast<size_t>(Action::Dive)]), "x");
    EXPECT_EQ(PadChordsText(read.bindings.pads[static_cast<size_t>(Action::Quit)]), "back+guide");
    EXPECT_EQ(PadChordsText(read.bindings.pads[static_cast<size_t>(Action::Pause)]), "start");
    EXPECT_EQ(warnings, (std::vector<std::string>{"s.ini:3: no key is called 'Kaboom'; ignored",
                                                  "s.ini:7: dpleft is bound to turn-left and pause; ignored",
                                                  "s.ini:4: Right is bound to turn-right and mute; ignored"}));

    Action action = Action::Count;
    ASSERT_TRUE(ActionOfKey(read.bindings, 'S', false, &action));
    EXPECT_EQ(action, Action::Dive);
    ASSERT_TRUE(ActionOfKey(read.bindings, 'A', true, &action));
    EXPECT_EQ(action, Action::TurnLeft);
    EXPECT_FALSE(ActionOfKey(read.bindings, 'A', false, &action)) << "A without Alt does nothing";
    ASSERT_TRUE(ActionOfKey(read.bindings, VK_DOWN, true, &action)) << "Alt with a key of its own binding";
    EXPECT_EQ(action, Action::Dive);
    ASSERT_TRUE(ActionOfPadButton(read.bindings, PadButton::Back, PadButton::Guide, &action));
    EXPECT_EQ(action, Action::Quit) << "a chord whichever button comes second";

    Action first = Action::Count, second = Action::Count;
    std::string chord;
    bool keys = false;
    EXPECT_FALSE(FindDoubleBinding(DefaultBindings(), &first, &second, &chord, &keys)) << chord;
}

TEST(Settings, OnlyARegularFileOfASaneSizeIsReadAndAnythingElseIsOneWarning) {
    TempFolder folder;
    const fs::path fifo = folder.path / "fifo.ini", zero = folder.path / "zero.ini", big = folder.path / "big.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // no writer: reading it would wait for ever
    fs::create_symlink("/dev/zero", zero);
    Write(big, "mute = on\n" + std::string(64 * 1024, '#'));
    for (const auto& [path, why] : {std::pair{fifo, "not a regular file"}, {zero, "not a regular file"}, {big, "larger than 64 KiB"}}) {
        std::vector<std::string> warnings;
        EXPECT_EQ(SettingsText(ReadSettings(path.string(), &warnings)), SettingsText(ShellSettings{}));
        ASSERT_EQ(warnings.size(), 1u) << path;
        EXPECT_EQ(warnings[0], path.string() + ": " + why + "; using the defaults");
    }
}

TEST(Settings, AChangeInPlayRewritesItsOwnLineAndKeepsTheRestOfThePlayersFile) {
    const std::string mine = "# my keys\nkey.dive = S\nmute = off\n; old\nmute = off\n";
    EXPECT_EQ(ChangeSetting(mine, "mute", "on"), "# my keys\nkey.dive = S\nmute = off\n; old\nmute = on\n");
    EXPECT_EQ(ChangeSetting("key.dive = S", "display", "window"), "key.dive = S\ndisplay = window\n");
    EXPECT_NE(ChangeSetting("", "display", "window").find("\ndisplay = window\n"), std::string::npos);

    TempFolder folder;
    const fs::path path = folder.path / "skyring" / "settings.ini";
    static std::vector<std::string> said;
    said.clear();
    SaveSettingLater(path.string(), "mute", "on", [](const std::string& warning) { said.push_back(warning); });
    SaveSettingLater(path.string(), "display", "window", [](const std::string& warning) { said.push_back(warning); });
    FinishSavingSettings();
    EXPECT_TRUE(said.empty()) << said.front();
    std::vector<std::string> warnings;
    const ShellSettings saved = ReadSettings(path.string(), &warnings);
    EXPECT_TRUE(saved.muted && saved.windowed) << Read(path);
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
        const bool written = WriteSettingsFile(path, "mute = on\n", &said);
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
    ASSERT_TRUE(WriteSettingsFile(link.string(), "mute = on\n", &warning)) << warning;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(real), "mute = on\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    const fs::path notAFile = folder.path / "folder.ini";
    fs::create_directory(notAFile);
    EXPECT_FALSE(WriteSettingsFile(notAFile.string(), "", &warning));
    EXPECT_EQ(warning.rfind(notAFile.string() + ": not a regular file", 0), 0u) << warning;
    const fs::path underAFile = real / "settings.ini";
    EXPECT_FALSE(WriteSettingsFile(underAFile.string(), "", &warning));
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

TEST(Folders, SettingsLiveUnderTheConfigHomeAndPicturesWhereTheDesktopSays) {
    TempFolder folder;
    ScopedEnvironment environment;
    environment.Set("XDG_CONFIG_HOME", "/c");
    environment.Set("HOME", folder.path.c_str());
    EXPECT_EQ(SettingsPath(), "/c/skyring/settings.ini");
    environment.Set("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(SettingsPath(), (folder.path / ".config/skyring/settings.ini").string());

    environment.Set("XDG_PICTURES_DIR", nullptr);
    EXPECT_EQ(PicturesFolder(), (folder.path / "Pictures").string());
    fs::create_directory(folder.path / ".config");
    Write(folder.path / ".config" / "user-dirs.dirs", "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(PicturesFolder(), (folder.path / "Bilder").string());
    environment.Set("XDG_PICTURES_DIR", "/somewhere/else");
    EXPECT_EQ(PicturesFolder(), "/somewhere/else");

    environment.Set("XDG_CONFIG_HOME", nullptr);
    environment.Set("HOME", nullptr);
    EXPECT_EQ(SettingsPath(), "");
}

int Parse(std::vector<std::string> words, GameOptions* options, const ShellSettings& settings = {}) {
    words.insert(words.begin(), "skyring");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    return ParseGameCommandLine(static_cast<int>(argv.size()), argv.data(), settings, options);
}

TEST(GameCommandLine, OptionsOverTheFileForThisRunOnly) {
    ShellSettings file;
    file.muted = file.pauseOnFocusLoss = true;
    GameOptions options;
    ASSERT_EQ(Parse({"--window", "--scaling", "integer", "--record", "r.txt"}, &options), -1);
    const ShellSettings run = ApplyOptions(options, file);
    EXPECT_TRUE(run.windowed && run.muted && run.integerScaling && run.pauseOnFocusLoss);
    EXPECT_EQ(options.files.record, "r.txt");
    GameOptions back;
    ASSERT_EQ(Parse({"--fullscreen", "--scaling", "sharp"}, &back), -1);
    EXPECT_FALSE(ApplyOptions(back, run).windowed || ApplyOptions(back, run).integerScaling);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--scaling", "blurry"}, {"--record", "a", "--play", "b"}}) {
        GameOptions ignored;
        EXPECT_EQ(Parse(bad, &ignored), 2) << bad[0];
    }
}

TEST(GameCommandLine, HelpShowsEveryOptionOfTheTableAndTheBindingsInForce) {
    std::vector<std::string> warnings;
    const std::string help = GameUsage(Parsed("key.dive = Down, S\npad.let-go = y", &warnings));
    for (const SettingRow& row : kSettingRows) {
        for (int value = 0; value < 2; ++value) {
            if (row.options[value][0] == '\0') continue;
            EXPECT_NE(help.find(std::string(row.options[value]) + " "), std::string::npos) << row.options[value];
        }
    }
    for (const char* part : {"[--fullscreen | --window]", "[--scaling sharp|integer]", "--record FILE", "--play FILE",
                             "--trace FILE", "Alt+Return, Alt+Keypad Enter, F11", "P, Pause", "back+start", "Escape, Alt+F4"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part << " in\n" << help;
    }
    EXPECT_NE(help.find("\ndive         Down, S "), std::string::npos) << help;
    EXPECT_NE(help.find(" y "), std::string::npos) << help;
}

// The README's lines that `wanted` picks, in order.
std::vector<std::string> ReadmeRows(bool (*wanted)(const std::string& line)) {
    std::ifstream in(README_PATH);
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        if (wanted(line)) rows.push_back(line);
    }
    return rows;
}

// The README's table of options is the table's: every option with its help, and no other.
TEST(GameCommandLine, TheReadmesTableOfOptionsIsTheProgramsOwn) {
    const std::vector<std::string> rows = ReadmeRows([](const std::string& line) {
        return line.rfind("| `--", 0) == 0 && line.rfind("| `--help`", 0) != 0;
    });
    std::vector<std::string> expected;
    for (const SettingRow& row : kSettingRows) {
        for (int value = 0; value < 2; ++value) {
            if (row.options[value][0] == '\0') continue;
            expected.push_back("| `" + std::string(row.options[value]) + "` | " + row.help[value] + " |");
        }
    }
    const std::string usage = GameUsage(ShellSettings{});
    for (const char* option : {"--record", "--play", "--trace"}) {
        const size_t at = usage.find(std::string("  ") + option + " FILE");
        ASSERT_NE(at, std::string::npos);
        const size_t help = usage.find_first_not_of(' ', at + 2 + std::string(option).size() + 5);
        expected.push_back("| `" + std::string(option) + " FILE` | " + usage.substr(help, usage.find('\n', help) - help) + " |");
    }
    EXPECT_EQ(rows, expected);
}

// And its table of keys is the bindings': every action with its default keys and pad buttons.
TEST(GameCommandLine, TheReadmesTableOfKeysIsTheDefaultBindings) {
    const std::vector<std::string> rows = ReadmeRows([](const std::string& line) {
        return line.rfind("| `", 0) == 0 && line.rfind("| `--", 0) != 0;
    });
    std::vector<std::string> expected;
    for (const ActionRow& row : kActions) {
        expected.push_back(std::string("| `") + row.name + "` | " + row.keys + " | " + row.pad + " | " + row.help + " |");
    }
    EXPECT_EQ(rows, expected);
}

}  // namespace
