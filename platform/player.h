#pragma once
// Between a backend and the player's shell above it: what the player does, as the backend hears
// it, and what only a backend can do for the shell. The game's rules never see any of it; with
// no shell listening, the game gets nothing from the player at all.
#include <cstdint>

// Keys come as virtual-key codes (platform/window.h): VK_ESCAPE and the arrows, 13 Return,
// 32 Space, 'A'..'Z' and '0'..'9' as the keyboard's layout types them, and 256 + the key's USB
// usage (SDL's scancode) for any other key.

// A game controller's buttons, numbered as SDL numbers them.
enum class PadButton : uint8_t {
    A, B, X, Y, Back, Guide, Start, LeftStick, RightStick, LeftShoulder, RightShoulder,
    DpadUp, DpadDown, DpadLeft, DpadRight, Misc1, Paddle1, Paddle2, Paddle3, Paddle4, Touchpad,
    Count
};
enum class PadAxis : uint8_t { LeftX, LeftY, Other };

// What the player can do. A backend names an action itself only for an input that is one
// already (a touch screen's controls); keys and pad buttons go to the shell's bindings instead.
enum class Action : uint8_t { TurnLeft, TurnRight, Dive, LetGo, Pause, Mute, WindowMode, Picture, Quit, Count };

// Each may be null.
struct PlayerEvents {
    // True when the key did something: a browser then keeps it from the page.
    bool (*key)(uint32_t virtualKey, bool alt, bool down, bool repeat);
    void (*padAdded)(int32_t pad);
    void (*padRemoved)(int32_t pad);
    void (*padButton)(int32_t pad, PadButton button, bool down);
    // value from -32768 (left, up) to 32767 (right, down).
    void (*padAxis)(int32_t pad, PadAxis axis, int value);
    // An on-screen control pressed or let go of by a finger. Each finger is a source of its own,
    // so that several fingers, keys and pad buttons may hold an action together.
    void (*control)(Action action, uint32_t finger, bool down);
    void (*focus)(bool gained);
    void (*hidden)(bool hidden);  // a browser tab hidden or shown again, or a page's menu over the game
    void (*closeRequested)();     // the window's close button, a log-out, the window destroyed
    // A message PlatformPostPlayerMessage queued, as the game's window receives it.
    void (*playerMessageDispatched)(uint32_t message, uintptr_t wParam);
};
// From now on the backend tells these what the player does (null: nobody).
void PlatformListen(const PlayerEvents* events);

// What only a backend does; each may come before the window exists and holds from then on.
// Window or the whole screen, and whole multiples of the page only or the sharp 4:3 fill.
void PlatformSetDisplay(bool windowed, bool integerScaling);
// The pause: while held no message reaches the game, so no frame runs; the game's clock
// stands still, the sound holds its place and the picture shows dimmed.
void PlatformHold(bool held);
bool PlatformHeld();
// Mute: the sound goes on, unheard.
void PlatformSetAudible(bool audible);
// A full screen steps out of the way while another window has the focus.
void PlatformStepAside(bool aside);
// Queues a message from the player for the game's window; the listener hears of it again as
// it is dispatched.
void PlatformPostPlayerMessage(uint32_t message, uintptr_t wParam);
