// The page's touch controls: library_web.js follows each finger over them, and each control is
// one of the player's actions, which the shell takes as it takes a key's (a finger is a source of
// its own, so fingers, keys and pads hold actions together).
#include <emscripten/emscripten.h>

#include <array>

#include "platform/device/hooks.h"
#include "platform/player.h"
#include "platform/web/web_backend.h"

namespace {

// The page names each control's action (data-action) as the settings file does.
struct Control {
    const char* name;
    Action action;
};
constexpr Control kControls[] = {
    {"turn-left", Action::TurnLeft}, {"turn-right", Action::TurnRight}, {"dive", Action::Dive},
    {"let-go", Action::LetGo},       {"pause", Action::Pause},          {"mute", Action::Mute},
};
constexpr int kControlCount = static_cast<int>(std::size(kControls));

}  // namespace

// The page's call: control number `control` (in the order WebControlsOpen named them) pressed
// or let go of by finger number `finger`.
extern "C" EMSCRIPTEN_KEEPALIVE void WebControl(int control, int finger, int down) {
    if (control < 0 || control >= kControlCount || finger < 0) return;
    DeviceTell(&PlayerEvents::control, kControls[control].action, static_cast<uint32_t>(finger), down != 0);
}

void WebControlsListen(bool on) {
    static const std::array<const char*, kControlCount> names = [] {
        std::array<const char*, kControlCount> list{};
        for (int i = 0; i < kControlCount; ++i) list[i] = kControls[i].name;
        return list;
    }();
    WebControlsOpen(on ? names.data() : nullptr, kControlCount);
}
