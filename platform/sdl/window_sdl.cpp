// The real window: SDL events become the game's messages, delivered only through the pump.
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <deque>

#include "platform/device/hooks.h"
#include "platform/sdl/sdl_backend.h"

#include <SDL_syswm.h>

struct PlatformWindow {
    SDL_Window* sdl = nullptr;
    WindowProcedure procedure = nullptr;
};

namespace {

PlatformWindow* theWindow = nullptr;
// The player's messages are told apart from those the game posts itself, for recordings.
struct Queued {
    MSG message;
    bool fromPlayer;
};
std::deque<Queued> queue;
bool dispatchingPlayers = false;  // the message MessageGet took last came from the player
std::atomic<bool> windowActive{false};

// The window's X11 id, and whether someone else destroyed it (xdotool windowclose, a crashed
// window manager): Xlib's default handler would end the program at the next request for it.
// The handler goes in before SDL's video starts, so SDL's own (which passes errors on to the
// one it found) stays inside it and gives it back when video ends.
Display* x11Display = nullptr;
Window x11Window = 0;
XErrorHandler otherErrors = nullptr;
bool windowGone = false;
bool goneReported = false;

int OnXError(Display* display, XErrorEvent* error) {
    if (x11Window != 0 && error->resourceid == x11Window &&
        (error->error_code == BadWindow || error->error_code == BadDrawable)) {
        windowGone = true;
        return 0;
    }
    return otherErrors != nullptr ? otherErrors(display, error) : 0;
}

void WatchForDestruction(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        x11Display = info.info.x11.display;
        x11Window = info.info.x11.window;
    }
}

// SDL hides a window before destroying it and waits for the server's word that it is unmapped.
// A window destroyed by someone else may never give that word again, so it is given here.
void AnswerTheUnmapping() {
    if (!windowGone || x11Display == nullptr) return;
    XEvent unmapped{};
    unmapped.xunmap.type = UnmapNotify;
    unmapped.xunmap.display = x11Display;
    unmapped.xunmap.event = x11Window;
    unmapped.xunmap.window = x11Window;
    XPutBackEvent(x11Display, &unmapped);
}

void StopWatching() {
    XSetErrorHandler(otherErrors);
    x11Display = nullptr;
    x11Window = 0;
    windowGone = goneReported = false;
}

// A closed terminal ends the game as a log-out does: SIGHUP is passed on as SIGTERM, which SDL
// turns into a close request. A SIGHUP the user chose to ignore (nohup) stays ignored.
void HangUpAsTerminate() {
    struct sigaction hangUp {};
    if (sigaction(SIGHUP, nullptr, &hangUp) != 0 || hangUp.sa_handler != SIG_DFL) return;
    hangUp.sa_handler = [](int) { raise(SIGTERM); };
    sigemptyset(&hangUp.sa_mask);
    hangUp.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &hangUp, nullptr);
}

// SDL falls back to drivers that show nothing when no screen can be opened; the game would
// then run unseen until killed. Only a user who names one of them gets it.
bool ShowsNothing(const char* driver) {
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
           std::strcmp(driver, "evdev") == 0;
}

// A close request ends a pause, so that the game can end as it always does.
void PostClose() {
    SdlSetPaused(false);
    SdlPostPlayerMessage(WM_CLOSE, 0);
}

uint32_t VirtualKey(const SDL_Keysym& key) {
    switch (key.sym) {
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_UP: return VK_UP;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_DOWN: return VK_DOWN;
        default: break;
    }
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) return static_cast<uint32_t>('A' + (key.sym - SDLK_a));
    if (key.sym >= SDLK_0 && key.sym <= SDLK_9) return static_cast<uint32_t>(key.sym);
    if (key.sym == SDLK_SPACE) return 32;
    if (key.sym == SDLK_RETURN) return 13;
    // Other keys do nothing in the game; they still get codes of their own, clear of the above.
    return 256 + static_cast<uint32_t>(key.scancode);
}

void Translate(const SDL_Event& event) {
    if (theWindow == nullptr) return;
    WindowHandle w = theWindow;
    switch (event.type) {
        case SDL_QUIT:
            PostClose();
            break;
        case SDL_KEYDOWN:
            // Alt+F4 asks the window to close, as the desktop's own shortcut would.
            if (event.key.keysym.sym == SDLK_F4 && (event.key.keysym.mod & KMOD_ALT) != 0) {
                PostClose();
            } else if (!SdlShellTakesKey(event.key, w->sdl)) {
                // Escape quits even from a pause.
                if (event.key.keysym.sym == SDLK_ESCAPE) SdlSetPaused(false);
                SdlPostPlayerMessage(WM_KEYDOWN, VirtualKey(event.key.keysym));
            }
            break;
        case SDL_KEYUP:
            if (!SdlShellTakesKey(event.key, w->sdl)) SdlPostPlayerMessage(WM_KEYUP, VirtualKey(event.key.keysym));
            break;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE: PostClose(); break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    windowActive = true;
                    SdlPostPlayerMessage(WM_ACTIVATEAPP, 1);
                    SdlShellFocusChanged(w->sdl, true);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    windowActive = false;
                    SdlPostPlayerMessage(WM_ACTIVATEAPP, 0);
                    SdlShellFocusChanged(w->sdl, false);
                    break;
                case SDL_WINDOWEVENT_ENTER: MessagePost(w, WM_SETCURSOR, 0, 0); break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED: SdlRepresent(); break;
                default: break;
            }
            break;
        default: SdlGamepadEvent(event); break;
    }
}

void Drain() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) Translate(event);
    if (windowGone && !goneReported && theWindow != nullptr) {
        goneReported = true;
        PostClose();
    }
}

}  // namespace

bool SdlDriverNamed(const char* variable) {
    const char* name = std::getenv(variable);
    return name != nullptr && name[0] != '\0';
}

void SdlPostPlayerMessage(uint32_t message, uintptr_t wParam) {
    if (theWindow == nullptr) return;
    const bool quits = message == WM_CLOSE || ((message == WM_KEYDOWN || message == WM_KEYUP) && wParam == VK_ESCAPE);
    if (SdlShellRun().playerSteers || quits) queue.push_back(Queued{MSG{theWindow, message, wParam, 0}, true});
}

SDL_Window* SdlWindowOf(WindowHandle window) { return window ? window->sdl : nullptr; }
bool SdlWindowIsActive() { return windowActive; }

WindowHandle WindowCreate(const char* className, const char* title, WindowProcedure procedure) {
    if (theWindow != nullptr || procedure == nullptr) return nullptr;
    // SDL reads the X11 class from the environment when the video system starts.
    setenv("SDL_VIDEO_X11_WMCLASS", className, 1);
    // The name the desktop shows for the game, in its sound mixer among other places.
    SDL_SetHint(SDL_HINT_APP_NAME, "Skyring");
    otherErrors = XSetErrorHandler(OnXError);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        StopWatching();
        DeviceReason("SDL video: %s", SDL_GetError());
        return nullptr;
    }
    if (!SdlDriverNamed("SDL_VIDEODRIVER") && ShowsNothing(SDL_GetCurrentVideoDriver())) {
        const char* display = std::getenv("DISPLAY");
        DeviceReason("SDL video: no display to show the game on (DISPLAY %s%s%s, no Wayland display)",
                     display ? "\"" : "", display ? display : "unset", display ? "\" cannot be opened" : "");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        StopWatching();
        return nullptr;
    }
    HangUpAsTerminate();
    SDL_Window* sdl = SdlCreateGameWindow(title, SdlShellRun().settings.windowed);
    if (sdl == nullptr) {
        DeviceReason("SDL window: %s", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        StopWatching();
        return nullptr;
    }
    WatchForDestruction(sdl);
    SDL_ShowWindow(sdl);
    SDL_ShowCursor(SDL_DISABLE);
    SdlGamepadsOpen();
    theWindow = new PlatformWindow{sdl, procedure};
    return theWindow;
}

void WindowDestroy(WindowHandle window) {
    if (window == nullptr || window != theWindow) return;
    SdlSetPaused(false);
    window->procedure(window, WM_DESTROY, 0, 0);
    SdlGamepadsClose();
    AnswerTheUnmapping();
    SDL_DestroyWindow(window->sdl);
    delete window;
    theWindow = nullptr;
    windowActive = false;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    StopWatching();
}

intptr_t WindowDefaultProcedure(WindowHandle window, uint32_t message, uintptr_t, intptr_t) {
    if (message == WM_CLOSE) WindowDestroy(window);
    return 0;
}

void CursorHide() { SDL_ShowCursor(SDL_DISABLE); }

bool MessagePeek() {
    SdlShowFlippedPage();
    DeviceDebugEndOfFrame();
    if (theWindow != nullptr) Drain();
    return !queue.empty() && !SdlPaused();
}

int MessageGet(MSG* message) {
    dispatchingPlayers = false;
    while (queue.empty()) {
        SDL_Event event;
        if (theWindow == nullptr || !SDL_WaitEvent(&event)) {
            *message = MSG{nullptr, WM_QUIT, 0, 0};
            return 0;
        }
        Translate(event);
    }
    *message = queue.front().message;
    dispatchingPlayers = queue.front().fromPlayer;
    queue.pop_front();
    return message->message == WM_QUIT ? 0 : 1;
}

void MessageDispatch(const MSG* message) {
    if (message->window != nullptr && message->window == theWindow) {
        const ShellRun& run = SdlShellRun();
        if (dispatchingPlayers && run.playerMessage != nullptr) run.playerMessage(message->message, message->wParam);
        message->window->procedure(message->window, message->message, message->wParam, message->lParam);
    }
}

void MessagePost(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    queue.push_back(Queued{MSG{window, message, wParam, lParam}, false});
}

void MessagePostQuit(int exitCode) { MessagePost(nullptr, WM_QUIT, static_cast<uintptr_t>(exitCode), 0); }

void MessageWait(uint32_t timeoutMs) {
    // Paused, the clock stands still and the frame's wait would never end by itself: sleep
    // until the player does something, waking now and then all the same.
    if (SdlPaused()) timeoutMs = 1000;
    if ((!queue.empty() && !SdlPaused()) || theWindow == nullptr) {
        if (theWindow == nullptr && timeoutMs > 0) SDL_Delay(timeoutMs);
        return;
    }
    // With a joystick plugged in, SDL's wait polls every millisecond, at several times the
    // cost of the game; polling eight times a frame is as quick to answer a pad or a key.
    if (SdlJoysticksPresent()) {
        SDL_Delay(std::min<uint32_t>(timeoutMs, 6));
        return;  // the next pump takes what came meanwhile
    }
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(timeoutMs > 0x7fffffffu ? 0x7fffffffu : timeoutMs))) {
        Translate(event);
    }
}
