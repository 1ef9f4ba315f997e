// The game: the player's command line and settings, then start-up and the frame loop, with
// a session kept or played back around it.
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/game.h"
#include "app/session.h"
#include "app/settings.h"
#include "platform/shell.h"
#include "tools/output/output_file.h"

namespace {

// What the settings file holds and where; options given for one run are not written to it.
std::string settingsPath;
ShellSettings saved;
ShellSettings current;

void Warn(const std::string& warning) { std::fprintf(stderr, "Skyring: %s\n", warning.c_str()); }

// The player changed something in play: only that setting goes into the file.
void KeepChange(const ShellSettings& now) {
    if (now.windowed != current.windowed) saved.windowed = now.windowed;
    if (now.muted != current.muted) saved.muted = now.muted;
    current = now;
    if (settingsPath.empty()) return Warn("no settings folder (HOME is unset); the change lasts this run");
    SaveSettingsLater(settingsPath, saved, Warn);
}

// What could not be started once the game had: said after its teardown.
std::string sessionError;

bool SessionStarted() { return StartSession(&sessionError); }

}  // namespace

int main(int argc, char** argv) {
    GameOptions options;
    if (const int status = ParseGameCommandLine(argc, argv, &options); status >= 0) return status;
    settingsPath = SettingsPath();
    std::vector<std::string> warnings;
    if (!settingsPath.empty()) saved = ReadSettings(settingsPath, &warnings);
    for (const std::string& warning : warnings) Warn(warning);
    current = ApplyOptions(options, saved);

    // SIGTERM and the like end the game through its own teardown, which finishes the files.
    OutputFilesLeaveSignalsAlone();
    std::string error;
    if (!CheckSession(options.files, &error)) {
        std::fprintf(stderr, "skyring: %s\n", error.c_str());
        return 2;
    }
    ShellRun run;
    run.settings = current;
    run.playerSteers = options.files.play.empty();
    run.settingsChanged = KeepChange;
    run.pictureWanted = SessionPicture;
    run.playerMessage = SessionPlayerMessage;
    ShellConfigure(run);
    GameHooks hooks;
    hooks.started = SessionStarted;
    hooks.beforeFrame = SessionBeforeFrame;
    hooks.afterFrame = SessionAfterFrame;
    const int status = RunGame(hooks);
    FinishSavingSettings();
    // A start that failed has written nothing; a trace begun for a session that could not
    // start is dropped at exit.
    if (status == 1) return 1;
    if (status == 2 || !CloseSession(&error)) {
        std::fprintf(stderr, "skyring: %s\n", (status == 2 ? sessionError : error).c_str());
        return 2;
    }
    return 0;
}
