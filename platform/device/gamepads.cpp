#include "platform/device/gamepads.h"

#include <cstddef>
#include <vector>

namespace {

// Of 32767: a stick at rest, or worn, never steers.
constexpr int kDeadZone = 10000;

enum : uint8_t { kLeft = 1, kRight = 2, kUp = 4, kDown = 8 };

struct Pad {
    int32_t id;
    uint8_t dpad, stick, buttons;  // the arrows each part holds
    bool back, start;
};

std::vector<Pad> pads;
uint8_t keysDown = 0;  // the arrows whose key-down the pads have sent
PadShell shell{};

Pad* Find(int32_t id) {
    for (Pad& pad : pads) {
        if (pad.id == id) return &pad;
    }
    return nullptr;
}

// An arrow held on any pad is down once; it goes up when no pad holds it any more.
void SendChanges() {
    uint8_t held = 0;
    for (const Pad& pad : pads) held |= pad.dpad | pad.stick | pad.buttons;
    static const struct {
        uint8_t bit;
        uint32_t key;
    } kArrows[] = {{kLeft, VK_LEFT}, {kRight, VK_RIGHT}, {kUp, VK_UP}, {kDown, VK_DOWN}};
    for (const auto& arrow : kArrows) {
        if ((held & arrow.bit) != (keysDown & arrow.bit)) {
            shell.post((held & arrow.bit) != 0 ? WM_KEYDOWN : WM_KEYUP, arrow.key);
        }
    }
    keysDown = held;
}

void Set(uint8_t* bits, uint8_t bit, bool on) { *bits = on ? (*bits | bit) : (*bits & ~bit); }

// The stick's two directions on one axis.
uint8_t StickBits(int value, uint8_t negative, uint8_t positive) {
    return value < -kDeadZone ? negative : value > kDeadZone ? positive : 0;
}

// Back and Start together quit, as Escape does.
void Quit() {
    if (shell.endPause != nullptr) shell.endPause();
    shell.post(WM_KEYDOWN, VK_ESCAPE);
    shell.post(WM_KEYUP, VK_ESCAPE);
}

}  // namespace

void PadsConfigure(const PadShell& chosen) { shell = chosen; }

bool PadAdd(int32_t id) {
    if (Find(id) != nullptr) return false;
    pads.push_back(Pad{id, 0, 0, 0, false, false});
    return true;
}

void PadRemove(int32_t id) {
    for (size_t i = 0; i < pads.size(); ++i) {
        if (pads[i].id != id) continue;
        pads.erase(pads.begin() + static_cast<std::ptrdiff_t>(i));
        SendChanges();
        return;
    }
}

void PadPress(int32_t id, PadButton button, bool down) {
    Pad* pad = Find(id);
    if (pad == nullptr) return;
    switch (button) {
        case PadButton::DpadLeft: Set(&pad->dpad, kLeft, down); break;
        case PadButton::DpadRight: Set(&pad->dpad, kRight, down); break;
        case PadButton::DpadUp: Set(&pad->dpad, kUp, down); break;
        case PadButton::DpadDown: Set(&pad->dpad, kDown, down); break;
        case PadButton::A: Set(&pad->buttons, kDown, down); break;
        case PadButton::B: Set(&pad->buttons, kUp, down); break;
        case PadButton::Back:
            pad->back = down;
            if (down && pad->start) Quit();
            break;
        case PadButton::Start:
            pad->start = down;
            if (down && pad->back) {
                Quit();
            } else if (down && shell.togglePause != nullptr) {
                shell.togglePause();
            }
            break;
        case PadButton::Other: break;
    }
    SendChanges();
}

void PadMove(int32_t id, PadAxis axis, int value) {
    Pad* pad = Find(id);
    if (pad == nullptr) return;
    if (axis == PadAxis::LeftX) {
        pad->stick = (pad->stick & (kUp | kDown)) | StickBits(value, kLeft, kRight);
    } else if (axis == PadAxis::LeftY) {
        pad->stick = (pad->stick & (kLeft | kRight)) | StickBits(value, kUp, kDown);
    }
    SendChanges();
}

void PadsForget() {
    pads.clear();
    keysDown = 0;
}
