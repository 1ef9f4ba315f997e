#pragma once
// skyring-replay's command line.
#include <string>

#include "tools/replay/replay.h"

struct ReplayCommand {
    ReplayOptions options;
    std::string scriptPath, tracePath, gifPath;
};

// Checks the arguments alone, touching no file: -1 when the run may go on; otherwise the exit
// status to end with, 0 once the usage or version is printed, 2 once the fault is reported.
int ParseReplayCommandLine(int argc, char** argv, ReplayCommand* command);
