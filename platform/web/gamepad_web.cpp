// Game controllers through the browser's Gamepad API, read at every pump and handed to the
// shared pad logic as changes. Pads in the standard layout: buttons 0 A, 1 B, 8 Back,
// 9 Start, 12-15 the D-pad; axes 0 and 1 the left stick.
#include <emscripten/html5.h>

#include <array>

#include "platform/device/gamepads.h"
#include "platform/web/web_backend.h"

namespace {

constexpr int kMaxPads = 8;

struct Seen {
    bool connected = false;
    std::array<bool, 17> buttons{};
    int x = 0, y = 0;
};

std::array<Seen, kMaxPads> seen;
bool configured = false;

PadButton ButtonOf(int index) {
    switch (index) {
        case 0: return PadButton::A;
        case 1: return PadButton::B;
        case 8: return PadButton::Back;
        case 9: return PadButton::Start;
        case 12: return PadButton::DpadUp;
        case 13: return PadButton::DpadDown;
        case 14: return PadButton::DpadLeft;
        case 15: return PadButton::DpadRight;
        default: return PadButton::Other;
    }
}

int StickValue(double axis) {
    const double clamped = axis < -1 ? -1 : axis > 1 ? 1 : axis;
    return static_cast<int>(clamped * 32767);
}

}  // namespace

void WebGamepadsPoll() {
    if (!configured) {
        PadsConfigure(PadShell{[] { WebSetPaused(!WebPaused()); }, [] { WebSetPaused(false); }, WebPostMessage});
        configured = true;
    }
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
    const int count = emscripten_get_num_gamepads();
    for (int i = 0; i < kMaxPads; ++i) {
        EmscriptenGamepadEvent state{};
        const bool connected = i < count && emscripten_get_gamepad_status(i, &state) == EMSCRIPTEN_RESULT_SUCCESS &&
                               state.connected;
        Seen& was = seen[i];
        if (!connected) {
            if (was.connected) PadRemove(i);
            was = Seen{};
            continue;
        }
        if (!was.connected) PadAdd(i);
        was.connected = true;
        for (int b = 0; b < static_cast<int>(was.buttons.size()); ++b) {
            const bool down = b < state.numButtons && state.digitalButton[b];
            if (down != was.buttons[b]) PadPress(i, ButtonOf(b), down);
            was.buttons[b] = down;
        }
        const int x = state.numAxes > 0 ? StickValue(state.axis[0]) : 0;
        const int y = state.numAxes > 1 ? StickValue(state.axis[1]) : 0;
        if (x != was.x) PadMove(i, PadAxis::LeftX, x);
        if (y != was.y) PadMove(i, PadAxis::LeftY, y);
        was.x = x;
        was.y = y;
    }
}

void WebGamepadsClose() {
    PadsForget();
    seen = {};
}
