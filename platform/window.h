#pragma once
// The one window, its message queue and the millisecond clock.
#include <cstdint>

using WindowHandle = struct PlatformWindow*;
using WindowProcedure = intptr_t (*)(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

enum : uint32_t {
    WM_DESTROY = 2,
    WM_CLOSE = 16,
    WM_QUIT = 18,
    WM_ACTIVATEAPP = 28,
    WM_SETCURSOR = 32,
    WM_KEYDOWN = 256,
    WM_KEYUP = 257,
};

// Virtual-key codes of the keys the game reads; other keys arrive with other codes.
enum : uint32_t { VK_ESCAPE = 27, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40 };

struct MSG {
    WindowHandle window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

// Creates the one window without a cursor, on the whole screen (borderless) or as a window, as
// the player's shell asks; null on failure.
// className becomes the window's class (X11 WM_CLASS), title its caption.
WindowHandle WindowCreate(const char* className, const char* title, WindowProcedure procedure);
// Destroys the window; its procedure receives WM_DESTROY before this returns.
void WindowDestroy(WindowHandle window);
// What the platform does with a message the game does not handle.
intptr_t WindowDefaultProcedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Keeps the mouse cursor hidden over the window.
void CursorHide();

// True when a message is waiting; removes nothing.
bool MessagePeek();
// Takes the next message, waiting for one; returns 0 when it is the quit message.
int MessageGet(MSG* message);
// Hands a message to its window's procedure.
void MessageDispatch(const MSG* message);
void MessagePost(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void MessagePostQuit(int exitCode);
// Sleeps until a message may be waiting or timeoutMs have passed, whichever comes first.
void MessageWait(uint32_t timeoutMs);

// Milliseconds since some fixed start, wrapping at 2^32.
uint32_t TickCount();
