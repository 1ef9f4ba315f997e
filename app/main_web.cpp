// The game in a browser page. There is no command line; the browser keeps the settings (the
// sound's mute). The page starts the program after the player's first click or key (browsers
// let sound begin only then). When the game has quit, the page offers another go, which starts
// the game afresh.
#include "app/game.h"
#include "platform/shell.h"
#include "platform/web/page.h"
#include "sim/world.h"

int main() {
    ShellRun run;
    run.settings = WebSavedSettings();
    run.settingsChanged = WebKeepSettings;
    ShellConfigure(run);
    for (;;) {
        const int status = RunGame();
        WebAwaitPlayAgain(status);
        ResetGameState();
    }
}
