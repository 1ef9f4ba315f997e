#pragma once
// The window procedure: keys, the close request, teardown and coming back to the foreground.
#include <cstdint>

#include "platform/window.h"

// Handled messages return 1; the others go to the platform's default processing.
intptr_t WindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Stops the sounds, releases sound and display, blanks both pages and destroys the window.
void ReleaseAll(WindowHandle window);
