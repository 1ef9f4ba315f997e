// The real window: SDL's events, passed to the player's shell, which makes the game's messages
// of them; they are delivered only through the pump.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/device/hooks.h"
#include "platform/player.h"
#include "platform/sdl/sdl_backend.h"

struct PlatformWindow {
    SDL_Window* sdl = nullptr;
};

namespace {

PlatformWindow* theWindow = nullptr;
std::atomic<bool> windowActive{false};
bool goneReported = false;  // the window destroyed by someone else, and a close requested for it

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
    DeviceTell(&PlayerEvents::key, VirtualKey(key.keysym), (key.keysym.mod & KMOD_ALT) != 0, key.type == SDL_KEYDOWN,
               key.repeat != 0);
}

void Focus(bool gained) {
    windowActive = gained;
    DeviceTell(&PlayerEvents::focus, gained);
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
    if (DesktopWindowGone() && !goneReported && theWindow != nullptr) {
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
    // The name the desktop shows for the game, in its sound mixer among other places.
    SDL_SetHint(SDL_HINT_APP_NAME, "Skyring");
    DesktopBeforeVideo(className);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        DesktopVideoEnded();
        DeviceReason("SDL video: %s", SDL_GetError());
        return nullptr;
    }
    if (!SdlDriverNamed("SDL_VIDEODRIVER") && ShowsNothing(SDL_GetCurrentVideoDriver())) {
        DesktopNoDisplayReason();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        DesktopVideoEnded();
        return nullptr;
    }
    DesktopEndOnHangUp();
    SDL_Window* sdl = SdlCreateGameWindow(title, SdlWindowed());
    if (sdl == nullptr) {
        DeviceReason("SDL window: %s", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        DesktopVideoEnded();
        return nullptr;
    }
    DesktopWindowMade(sdl);
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
    DesktopBeforeDestroy();
    SDL_DestroyWindow(window->sdl);
    delete window;
    theWindow = nullptr;
    windowActive = false;
    goneReported = false;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    DesktopVideoEnded();
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
