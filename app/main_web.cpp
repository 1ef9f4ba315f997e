// The game in a browser page. There is no command line; the browser keeps the sound's mute.
// The page starts the program after the player's first click or key (browsers let sound begin
// only then). When the game has quit, the page offers another go, which starts the game afresh.
// Every game is recorded for the page to pass on; a jump given to the page (a link's, a dropped
// file's) plays back instead of a game.
#include <cstring>

#include "app/game.h"
#include "platform/web/page.h"
#include "shell/page_session.h"
#include "shell/player_shell.h"
#include "sim/world.h"

namespace {

void KeepSetting(const char* key, const char* value) {
    if (std::strcmp(key, "mute") == 0) WebKeepMute(std::strcmp(value, "on") == 0);
}

}  // namespace

int main() {
    ShellRun run;
    // The page starts in the browser's window; Alt+Enter or F11 puts it on the whole screen.
    run.settings.windowed = true;
    run.settingChanged = KeepSetting;
    run.pictureWanted = WebSavePicture;
    run.playerMessage = PageSessionPlayerMessage;
    for (;;) {
        run.settings.muted = WebSavedMute();
        run.playerSteers = !PageSessionBegin();
        ShellStart(run);
        const int status = RunGame(PageSessionHooks());
        WebAwaitPlayAgain(status);
        ResetGameState();
    }
}
