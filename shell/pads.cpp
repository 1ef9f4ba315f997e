#include "shell/pads.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

// Of 32767: a stick at rest, or worn, never steers.
constexpr int kDeadZone = 10000;
constexpr size_t kButtons = static_cast<size_t>(PadButton::Count);

struct Pad {
    int32_t id;
    std::array<bool, kButtons> buttons{};  // as the pad holds them
    std::array<bool, kButtons> stick{};    // the D-pad buttons the stick stands for
};

std::vector<Pad> pads;
const Bindings* bound = nullptr;
PadTargets targets{};

Pad* Find(int32_t id) {
    for (Pad& pad : pads) {
        if (pad.id == id) return &pad;
    }
    return nullptr;
}

// Each button of each pad, and each direction of its stick, is a source of its own.
uint32_t Source(int32_t pad, PadButton button, bool stick) {
    return 0x10000u * (stick ? 2u : 1u) + (static_cast<uint32_t>(pad) & 0xFFFu) * 64u + static_cast<uint32_t>(button);
}

void Press(const Pad& pad, PadButton button, bool down, bool stick) {
    const uint32_t source = Source(pad.id, button, stick);
    if (!down) return targets.release(source);
    Action action = Action::Count;
    for (size_t held = 0; held < kButtons; ++held) {
        const auto other = static_cast<PadButton>(held);
        if (other == button || !pad.buttons[held] || !ActionOfPadButton(*bound, button, other, &action)) continue;
        // A chord is a press of its own, over as soon as it is made.
        targets.press(action, source);
        return targets.release(source);
    }
    if (ActionOfPadButton(*bound, button, PadButton::Count, &action)) targets.press(action, source);
}

// The stick's two directions on one axis, as two D-pad buttons.
void MoveStick(Pad& pad, int value, PadButton negative, PadButton positive) {
    for (const auto& [button, on] : {std::pair{negative, value < -kDeadZone}, std::pair{positive, value > kDeadZone}}) {
        bool& held = pad.stick[static_cast<size_t>(button)];
        if (held == on) continue;
        held = on;
        Press(pad, button, on, true);
    }
}

}  // namespace

void PadsConfigure(const Bindings* bindings, const PadTargets& chosen) {
    bound = bindings;
    targets = chosen;
    pads.clear();
}

void PadAdded(int32_t id) {
    if (Find(id) == nullptr) pads.push_back(Pad{id});
}

void PadRemoved(int32_t id) {
    Pad* pad = Find(id);
    if (pad == nullptr) return;
    for (size_t b = 0; b < kButtons; ++b) {
        if (pad->buttons[b]) targets.release(Source(id, static_cast<PadButton>(b), false));
        if (pad->stick[b]) targets.release(Source(id, static_cast<PadButton>(b), true));
    }
    pads.erase(pads.begin() + (pad - pads.data()));
}

void PadButtonChanged(int32_t id, PadButton button, bool down) {
    Pad* pad = Find(id);
    if (pad == nullptr || bound == nullptr || button >= PadButton::Count) return;
    bool& held = pad->buttons[static_cast<size_t>(button)];
    if (held == down) return;
    held = down;
    Press(*pad, button, down, false);
}

void PadAxisMoved(int32_t id, PadAxis axis, int value) {
    Pad* pad = Find(id);
    if (pad == nullptr || bound == nullptr) return;
    if (axis == PadAxis::LeftX) MoveStick(*pad, value, PadButton::DpadLeft, PadButton::DpadRight);
    if (axis == PadAxis::LeftY) MoveStick(*pad, value, PadButton::DpadUp, PadButton::DpadDown);
}
