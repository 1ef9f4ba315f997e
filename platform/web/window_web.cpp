// The browser window: the page's key, focus and visibility events become the game's messages,
// delivered only through the pump. The frame's wait sleeps in the browser's event loop
// (ASYNCIFY), so the game keeps its own loop and frame order.
#include <emscripten/html5.h>

#include <deque>

#include "platform/device/hooks.h"
#include "platform/web/key_codes.h"
#include "platform/web/web_backend.h"

struct PlatformWindow {
    WindowProcedure procedure = nullptr;
};

namespace {

PlatformWindow* theWindow = nullptr;
std::deque<MSG> queue;
bool windowActive = false;


EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void*) {
    if (theWindow == nullptr) return EM_FALSE;
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    const uint32_t key = VirtualKeyOf(event->code, event->keyCode);
    // Alt+Enter: the page on the whole screen or back, as the desktop's window mode.
    if (key == 13 && event->altKey) {
        if (down && !event->repeat) WebToggleFullscreen();
        return EM_TRUE;
    }
    if (!WebShellTakesKey(key, down, event->repeat)) {
        // Escape quits even from a pause.
        if (down && key == VK_ESCAPE) WebSetPaused(false);
        WebPostMessage(down ? WM_KEYDOWN : WM_KEYUP, key);
    }
    return KeyScrollsPage(event->code) ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void*) {
    if (theWindow == nullptr) return EM_FALSE;
    windowActive = type == EMSCRIPTEN_EVENT_FOCUS;
    WebPostMessage(WM_ACTIVATEAPP, windowActive ? 1 : 0);
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* event, void*) {
    if (theWindow != nullptr) WebShellVisibilityChanged(!event->hidden);
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
}

}  // namespace

void WebPostMessage(uint32_t message, uintptr_t wParam) {
    queue.push_back(MSG{theWindow, message, wParam, 0});
    WebWake();
}

bool WebWindowIsActive() { return windowActive; }

WindowHandle WindowCreate(const char*, const char*, WindowProcedure procedure) {
    if (theWindow != nullptr || procedure == nullptr) return nullptr;
    theWindow = new PlatformWindow{procedure};
    Listen(true);
    // The page the player just clicked or typed into has the focus: the game starts active,
    // as a desktop window that comes up in front.
    if (WebDocumentHasFocus() != 0) {
        windowActive = true;
        queue.push_back(MSG{theWindow, WM_ACTIVATEAPP, 1, 0});
    }
    return theWindow;
}

void WindowDestroy(WindowHandle window) {
    if (window == nullptr || window != theWindow) return;
    WebSetPaused(false);
    window->procedure(window, WM_DESTROY, 0, 0);
    WebGamepadsClose();
    Listen(false);
    delete window;
    theWindow = nullptr;
    windowActive = false;
}

intptr_t WindowDefaultProcedure(WindowHandle window, uint32_t message, uintptr_t, intptr_t) {
    if (message == WM_CLOSE) WindowDestroy(window);
    return 0;
}

// The page hides the pointer over the game itself (CSS).
void CursorHide() {}

bool MessagePeek() {
    WebShowFlippedPage();
    DeviceDebugEndOfFrame();
    if (theWindow != nullptr) WebGamepadsPoll();
    return !queue.empty() && !WebPaused();
}

int MessageGet(MSG* message) {
    while (queue.empty()) {
        if (theWindow == nullptr) {
            *message = MSG{nullptr, WM_QUIT, 0, 0};
            return 0;
        }
        WebSleep(1000);
        WebGamepadsPoll();
    }
    *message = queue.front();
    queue.pop_front();
    return message->message == WM_QUIT ? 0 : 1;
}

void MessageDispatch(const MSG* message) {
    if (message->window != nullptr && message->window == theWindow) {
        message->window->procedure(message->window, message->message, message->wParam, message->lParam);
    }
}

void MessagePost(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    queue.push_back(MSG{window, message, wParam, lParam});
}

void MessagePostQuit(int exitCode) { queue.push_back(MSG{nullptr, WM_QUIT, static_cast<uintptr_t>(exitCode), 0}); }

void MessageWait(uint32_t timeoutMs) {
    // Paused, the clock stands still and the frame's wait would never end by itself: sleep
    // until the player does something, waking now and then for the gamepads.
    if (WebPaused()) timeoutMs = 50;
    if (!queue.empty() && !WebPaused()) return;
    WebSleep(timeoutMs);
}
