#pragma once
// The program: start-up in its fixed order, then one frame after another.
#include "platform/window.h"

// The window, the display, the sheet, the sound and the first jump. 1 when the frame loop may
// run; 0 after a failure, with everything made so far released and the window destroyed.
int StartUp();
// One frame of the loop; false when the program ended in the frame's wait.
bool RunFrame();
// Dispatches every waiting message; 0 once the quit message has been taken, else 1.
int PumpMessages();
// Around the frames, for the player's shell; each may be null.
struct GameHooks {
    // Once start-up has succeeded, before the first frame: what must wait for a game that
    // really runs. False ends the game at once through its own teardown.
    bool (*started)() = nullptr;
    // Before each frame, and after each frame that reached its flip, with its index from 0.
    void (*beforeFrame)(int64_t frame) = nullptr;
    void (*afterFrame)(int64_t frame) = nullptr;
};
// Start-up and the frame loop; the process's exit status: 0 when the game ended, 1 when it
// could not start, 2 when `started` refused it.
int RunGame(const GameHooks& hooks = {});

// The main window, null before start-up and after it is destroyed.
extern WindowHandle mainWindow;
