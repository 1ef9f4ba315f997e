// The console a game started from one shares, on Windows. A file of its own: windows.h and the
// game's own names for Windows' types (platform/window.h) cannot meet in one file.
#include <windows.h>

#include <SDL.h>

namespace {

// Ctrl+C, Ctrl+Break or the console closed: a close request, as SIGINT and SIGHUP are on Linux.
// Once the handler returns from a closing console Windows ends the program, so it gives the
// game's own teardown the few seconds Windows allows to end it first.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    if (event == CTRL_CLOSE_EVENT) Sleep(5000);
    return TRUE;
}

}  // namespace

// Declared in sdl_backend.h.
void DesktopEndOnHangUp() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }
