#pragma once
// The game's command line: each option given overrides the settings file for this run.
#include <optional>

#include "app/session.h"
#include "platform/shell.h"

struct GameOptions {
    std::optional<bool> windowed, muted, pauseOnFocusLoss;
    std::optional<Scaling> scaling;
    SessionFiles files;
};

// -1 when the game should start; otherwise the exit status to end with: 0 once the usage or
// version is printed, 2 once a bad command line is reported (with the usage, on stderr).
int ParseGameCommandLine(int argc, char** argv, GameOptions* options);
// The settings for this run: the file's, with what the command line named put over them.
ShellSettings ApplyOptions(const GameOptions& options, ShellSettings fromFile);
