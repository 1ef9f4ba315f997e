// The real window: SDL's events, passed to the player's shell, which makes the game's messages
// of them; they are delivered only through the pump.
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/device/hooks.h"
#include "platform/player.h"
#include "platform/sdl/sdl_backend.h"

#include <SDL_syswm.h>

struct PlatformWindow {
    SDL_Window* sdl = nullptr;
};

namespace {

PlatformWindow* theWindow = nullptr;
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
    // Any other key gets a code of its own, clear of the above, which bindings may name.
    return 256 + static_cast<uint32_t>(key.scancode);
}

void Key(const SDL_KeyboardEvent& key) {
    const PlayerEvents* events = DeviceListener();
    if (events == nullptr || events->key == nullptr) return;
    events->key(VirtualKey(key.keysym), (key.keysym.mod & KMOD_ALT) != 0, key.type == SDL_KEYDOWN, key.repeat != 0);
}

void Focus(bool gained) {
    windowActive = gained;
    const PlayerEvents* events = DeviceListener();
    if (events != nullptr && events->focus != nullptr) events->focus(gained);
}

void Translate(const SDL_Event& event) {
    if (theWindow == nullptr) return;
    switch (event.type) {
        case SDL_QUIT: DeviceCloseRequested(); break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: Key(event.key); break;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE: DeviceCloseRequested(); break;
                case SDL_WINDOWEVENT_FOCUS_GAINED: Focus(true); break;
                case SDL_WINDOWEVENT_FOCUS_LOST: Focus(false); break;
                case SDL_WINDOWEVENT_ENTER: MessagePost(theWindow, WM_SETCURSOR, 0, 0); break;
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
        DeviceCloseRequested();
    }
}

}  // namespace

bool SdlDriverNamed(const char* variable) {
    const char* name = std::getenv(variable);
    return name != nullptr && name[0] != '\0';
}

SDL_Window* SdlWindowOf(WindowHandle window) { return window ? window->sdl : nullptr; }
SDL_Window* SdlGameWindow() { return SdlWindowOf(theWindow); }
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
    SDL_Window* sdl = SdlCreateGameWindow(title, SdlWindowed());
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
    theWindow = new PlatformWindow{sdl};
    DeviceWindowOpened(theWindow, procedure);
    return theWindow;
}

void WindowDestroy(WindowHandle window) {
    if (window == nullptr || window != theWindow) return;
    DeviceWindowDestroyed(window);
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

void BackendPollEvents() {
    SdlShowFlippedPage();
    DeviceDebugEndOfFrame();
    if (theWindow != nullptr) Drain();
}

void BackendWaitEvents(uint32_t timeoutMs) {
    if (theWindow == nullptr) {
        SDL_Delay(timeoutMs);
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

bool BackendWaitForEvent() {
    SDL_Event event;
    if (theWindow == nullptr || !SDL_WaitEvent(&event)) return false;
    Translate(event);
    return true;
}

// SDL's wait ends on the next event of its own; a message the shell posts comes from one.
void BackendWake() {}

void BackendHold(bool held) {
    SdlAudioHold(held);
    SdlRepresent();  // dimmed under the pause mark, or as it was
}

void PlatformStepAside(bool aside) {
    if (theWindow == nullptr) return;
    SDL_SetWindowAlwaysOnTop(theWindow->sdl, aside ? SDL_FALSE : SDL_TRUE);
    if (aside) SDL_MinimizeWindow(theWindow->sdl);
}
