#pragma once
// The game's command line, from the options table: each option given overrides the settings
// file for this run only.
#include <optional>
#include <string>
#include <vector>

#include "shell/session.h"
#include "shell/settings.h"

struct GameOptions {
    std::vector<std::optional<bool>> settings = std::vector<std::optional<bool>>(kSettingRows.size());
    SessionFiles files;
};

// The usage, the options and the keys and pad buttons these settings bind, as --help prints it.
std::string GameUsage(const ShellSettings& settings);
// -1 when the game should start; otherwise the exit status to end with: 0 once the usage (with
// the settings' bindings) or the version is printed, 2 once a bad command line is reported
// (with the usage, on stderr).
int ParseGameCommandLine(int argc, char** argv, const ShellSettings& settings, GameOptions* options);
// The settings for this run: the file's, with what the command line named put over them.
ShellSettings ApplyOptions(const GameOptions& options, ShellSettings fromFile);
