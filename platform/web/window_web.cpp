// The browser window: the page's key, focus and visibility events (and its touch controls,
// touch_web.cpp), passed to the player's shell, which makes the game's messages of them; they are
// delivered only through the pump. The frame's wait sleeps in the browser's event loop
// (ASYNCIFY), so the game keeps its own loop and frame order.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>

#include "platform/device/hooks.h"
#include "platform/player.h"
#include "platform/web/key_codes.h"
#include "platform/web/web_backend.h"

struct PlatformWindow {};

namespace {

PlatformWindow* theWindow = nullptr;
bool windowActive = false;
bool tabHidden = false;
bool menuShown = false;
bool covered = false;  // as the shell was last told

// A hidden tab, or the page's menu over the game: the game waits for the player until neither is.
void Cover() {
    const PlayerEvents* events = DeviceListener();
    const bool now = tabHidden || menuShown;
    if (theWindow == nullptr || now == covered || events == nullptr || events->hidden == nullptr) return;
    covered = now;
    events->hidden(now);
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void*) {
    if (theWindow == nullptr || DeviceListener() == nullptr) return EM_FALSE;
    const bool taken = DeviceTell(&PlayerEvents::key, VirtualKeyOf(event->code, event->keyCode), event->altKey != 0,
                                  type == EMSCRIPTEN_EVENT_KEYDOWN, event->repeat != 0);
    return taken || KeyScrollsPage(event->code) ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void*) {
    if (theWindow == nullptr) return EM_FALSE;
    windowActive = type == EMSCRIPTEN_EVENT_FOCUS;
    DeviceTell(&PlayerEvents::focus, windowActive);
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* event, void*) {
    tabHidden = event->hidden;
    Cover();
    return EM_FALSE;
}

EM_BOOL OnResize(int, const EmscriptenUiEvent*, void*) {
    WebRepresent();
    return EM_FALSE;
}

void Listen(bool on) {
    const char* target = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(target, nullptr, EM_TRUE, on ? OnKey : nullptr);
    emscripten_set_keyup_callback(target, nullptr, EM_TRUE, on ? OnKey : nullptr);
    // Not captured: only the page's own focus counts, not that of a button on it.
    emscripten_set_focus_callback(target, nullptr, EM_FALSE, on ? OnFocus : nullptr);
    emscripten_set_blur_callback(target, nullptr, EM_FALSE, on ? OnFocus : nullptr);
    emscripten_set_resize_callback(target, nullptr, EM_TRUE, on ? OnResize : nullptr);
    emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, on ? OnVisibility : nullptr);
    WebControlsListen(on);
}

}  // namespace

bool WebWindowIsActive() { return windowActive; }

// The page's call: its menu (sharing the jump) shows over the game, or no longer.
extern "C" EMSCRIPTEN_KEEPALIVE void WebMenuShown(int shown) {
    menuShown = shown != 0;
    Cover();
}

WindowHandle WindowCreate(const char*, const char*, WindowProcedure procedure) {
    if (theWindow != nullptr || procedure == nullptr) return nullptr;
    theWindow = new PlatformWindow;
    DeviceWindowOpened(theWindow, procedure);
    Listen(true);
    // The page the player just clicked or typed into has the focus: the game starts active,
    // as a desktop window that comes up in front.
    if (WebDocumentHasFocus() != 0) {
        windowActive = true;
        MessagePost(theWindow, WM_ACTIVATEAPP, 1, 0);
    }
    return theWindow;
}

void WindowDestroy(WindowHandle window) {
    if (window == nullptr || window != theWindow) return;
    DeviceWindowDestroyed(window);
    WebGamepadsClose();
    Listen(false);
    delete window;
    theWindow = nullptr;
    windowActive = tabHidden = menuShown = covered = false;
}

intptr_t WindowDefaultProcedure(WindowHandle window, uint32_t message, uintptr_t, intptr_t) {
    if (message == WM_CLOSE) WindowDestroy(window);
    return 0;
}

// The page hides the pointer over the game itself (CSS).
void CursorHide() {}

void BackendPollEvents() {
    WebShowFlippedPage();
    DeviceDebugEndOfFrame();
    if (theWindow != nullptr) WebGamepadsPoll();
}

// The pads are read at every pump: a wait lasts a frame at most.
void BackendWaitEvents(uint32_t timeoutMs) { WebSleep(std::min<uint32_t>(timeoutMs, 50)); }

bool BackendWaitForEvent() {
    if (theWindow == nullptr) return false;
    WebSleep(1000);
    WebGamepadsPoll();
    return true;
}

void BackendWake() { WebWake(); }

void BackendHold(bool held) {
    WebAudioHold(held);
    WebShowHeld(held);
    WebRepresent();  // dimmed under the pause mark, or as it was
    WebWake();
}

// A page's picture never covers another window.
void PlatformStepAside(bool) {}

// In the page, or the page on the whole screen; the scaling is always the sharp fill. The
// browser may have left the whole screen by itself (its own Escape): a change the player asks
// for toggles what the browser shows.
void PlatformSetDisplay(bool windowed, bool) {
    static bool chosen = true;
    if (windowed != chosen) WebToggleFullscreen();
    chosen = windowed;
}
