// Game controllers through the browser's Gamepad API, read at every pump and reported to the
// player's shell as changes. Pads in the standard layout: buttons 0-3 A, B, X, Y, 4 and 5 the
// shoulders, 8 Back, 9 Start, 10 and 11 the sticks, 12-15 the D-pad, 16 Guide; axes 0 and 1
// the left stick.
#include <emscripten/html5.h>

#include <array>

#include "platform/device/hooks.h"
#include "platform/player.h"
#include "platform/web/web_backend.h"

namespace {

constexpr int kMaxPads = 8;

struct Seen {
    bool connected = false;
    std::array<bool, 17> buttons{};
    int x = 0, y = 0;
};

std::array<Seen, kMaxPads> seen;

// The standard layout's buttons in order; Count for the triggers (6, 7), which are axes to SDL.
constexpr PadButton kButtons[17] = {
    PadButton::A,         PadButton::B,        PadButton::X,           PadButton::Y,
    PadButton::LeftShoulder, PadButton::RightShoulder, PadButton::Count, PadButton::Count,
    PadButton::Back,      PadButton::Start,    PadButton::LeftStick,   PadButton::RightStick,
    PadButton::DpadUp,    PadButton::DpadDown, PadButton::DpadLeft,    PadButton::DpadRight,
    PadButton::Guide};

int StickValue(double axis) {
    const double clamped = axis < -1 ? -1 : axis > 1 ? 1 : axis;
    return static_cast<int>(clamped * 32767);
}

}  // namespace

void WebGamepadsPoll() {
    if (DeviceListener() == nullptr || emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
    const int count = emscripten_get_num_gamepads();
    for (int i = 0; i < kMaxPads; ++i) {
        EmscriptenGamepadEvent state{};
        const bool connected = i < count && emscripten_get_gamepad_status(i, &state) == EMSCRIPTEN_RESULT_SUCCESS &&
                               state.connected;
        Seen& was = seen[i];
        if (!connected) {
            if (was.connected) DeviceTell(&PlayerEvents::padRemoved, i);
            was = Seen{};
            continue;
        }
        if (!was.connected) DeviceTell(&PlayerEvents::padAdded, i);
        was.connected = true;
        for (int b = 0; b < static_cast<int>(was.buttons.size()); ++b) {
            const bool down = b < state.numButtons && state.digitalButton[b];
            if (down != was.buttons[b] && kButtons[b] != PadButton::Count) {
                DeviceTell(&PlayerEvents::padButton, i, kButtons[b], down);
                if (down) WebPadPressed();
            }
            was.buttons[b] = down;
        }
        const int x = state.numAxes > 0 ? StickValue(state.axis[0]) : 0;
        const int y = state.numAxes > 1 ? StickValue(state.axis[1]) : 0;
        if (x != was.x) DeviceTell(&PlayerEvents::padAxis, i, PadAxis::LeftX, x);
        if (y != was.y) DeviceTell(&PlayerEvents::padAxis, i, PadAxis::LeftY, y);
        was.x = x;
        was.y = y;
    }
}

void WebGamepadsClose() {
    for (int i = 0; i < kMaxPads; ++i) {
        if (seen[i].connected) DeviceTell(&PlayerEvents::padRemoved, i);
    }
    seen = {};
}
