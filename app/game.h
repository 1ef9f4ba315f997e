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
// Start-up and the frame loop; the process's exit status. Around the frames, for the player's
// shell: beforeFrame runs before each frame, afterFrame after each frame that reached its flip,
// each with the frame's index from 0 (either may be null).
int RunGame(void (*beforeFrame)(int64_t frame) = nullptr, void (*afterFrame)(int64_t frame) = nullptr);

// The main window, null before start-up and after it is destroyed.
extern WindowHandle mainWindow;
