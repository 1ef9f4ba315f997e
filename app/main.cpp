// The game: the player's settings and command line, then start-up and the frame loop, with the
// player's shell and a session kept or played back around it.
#include <string>
#include <vector>

#include "app/game.h"
#include "files/output_file.h"
#include "shell/command_line.h"
#include "shell/options.h"
#include "shell/pictures.h"
#include "shell/player_shell.h"
#include "shell/session.h"
#include "shell/settings.h"
#include "shell/warn.h"

namespace {

std::string settingsPath;

// The player changed something in play: that one line of the settings file changes.
void KeepSetting(const char* key, const char* value) {
    if (settingsPath.empty()) return Warn("no folder for the settings; the change lasts this run");
    SaveSettingLater(settingsPath, key, value, Warn);
}

// What could not be started once the game had: said after its teardown.
std::string sessionError;

bool SessionStarted() { return StartSession(&sessionError); }

}  // namespace

int main(int argc, char** argv) {
    TakeProgramArguments(&argc, &argv);
    settingsPath = SettingsPath();
    std::vector<std::string> warnings;
    const ShellSettings saved = settingsPath.empty() ? ShellSettings{} : ReadSettings(settingsPath, &warnings);
    for (const std::string& warning : warnings) Warn(warning);
    GameOptions options;
    if (const int status = ParseGameCommandLine(argc, argv, saved, &options); status >= 0) return status;

    // SIGTERM and the like end the game through its own teardown, which finishes the files.
    OutputFilesLeaveSignalsAlone();
    std::string error;
    if (!CheckSession(options.files, &error)) return Fail("skyring", error);
    ShellRun run;
    run.settings = ApplyOptions(options, saved);
    run.playerSteers = !SessionPlaysBack();
    run.settingChanged = KeepSetting;
    run.pictureWanted = SavePicture;
    run.playerMessage = SessionPlayerMessage;
    ShellStart(run);
    GameHooks hooks;
    hooks.started = SessionStarted;
    hooks.beforeFrame = SessionBeforeFrame;
    hooks.afterFrame = SessionAfterFrame;
    const int status = RunGame(hooks);
    FinishSavingSettings();
    // A start that failed has written nothing; a trace begun for a session that could not
    // start is dropped at exit.
    if (status == 1) return 1;
    if (status == 2 || !CloseSession(&error)) return Fail("skyring", status == 2 ? sessionError : error);
    return 0;
}
