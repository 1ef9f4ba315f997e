#include "shell/player_shell.h"

#include <algorithm>
#include <vector>

#include "platform/device/hooks.h"
#include "platform/player.h"
#include "platform/window.h"
#include "shell/pads.h"

namespace {

ShellRun run;
std::vector<uint32_t> holding[kActionCount];  // the sources holding each action down
// A pause the shell made, not the player: it ends when its cause does.
bool pausedByFocus = false;
bool pausedByHiding = false;

// The key the game knows for an action; 0 for one the shell carries out itself.
uint32_t GameKey(Action action) {
    switch (action) {
        case Action::TurnLeft: return VK_LEFT;
        case Action::TurnRight: return VK_RIGHT;
        case Action::Dive: return VK_DOWN;
        case Action::LetGo: return VK_UP;
        case Action::Quit: return VK_ESCAPE;
        default: return 0;
    }
}

void Hold(bool on) {
    pausedByFocus = pausedByHiding = false;
    PlatformHold(on);
}

// A setting the player changed in play goes to the settings file, and only that one.
void Keep(bool ShellSettings::*field) {
    for (const SettingRow& row : kSettingRows) {
        if (row.field == field && run.settingChanged != nullptr) {
            run.settingChanged(row.key, row.values[run.settings.*field ? 1 : 0]);
        }
    }
}

void CarryOut(Action action) {
    ShellSettings& settings = run.settings;
    switch (action) {
        case Action::Pause: Hold(!PlatformHeld()); break;
        case Action::Mute:
            settings.muted = !settings.muted;
            PlatformSetAudible(!settings.muted);
            Keep(&ShellSettings::muted);
            break;
        case Action::WindowMode:
            settings.windowed = !settings.windowed;
            PlatformSetDisplay(settings.windowed, settings.integerScaling);
            Keep(&ShellSettings::windowed);
            break;
        case Action::Picture: {
            const uint8_t* page = DeviceVisiblePage();
            if (run.pictureWanted != nullptr && page != nullptr) run.pictureWanted(page, DevicePaletteColours());
            break;
        }
        default: break;
    }
}

bool Key(uint32_t key, bool alt, bool down, bool repeat) {
    Action action = Action::Count;
    const bool bound = ActionOfKey(run.settings.bindings, key, alt, &action);
    if (!down) {
        ShellRelease(key);
    } else if (bound) {
        ShellPress(action, key, repeat);
    }
    return bound;
}

// A finger on a touch control is a source beside the keys (below 0x10000) and the pads' buttons
// (below 0x60000).
constexpr uint32_t kFingerSources = 0x100000;

void Control(Action action, uint32_t finger, bool down) {
    const uint32_t source = kFingerSources + (finger & 0xFFFF);
    if (down) {
        ShellPress(action, source);
    } else {
        ShellRelease(source);
    }
}

void Focus(bool gained) {
    if (run.playerSteers) PlatformPostPlayerMessage(WM_ACTIVATEAPP, gained ? 1 : 0);
    // A full screen would keep covering what the player switched to: it steps aside until the
    // player comes back to it.
    if (!run.settings.windowed) PlatformStepAside(!gained);
    if (!run.settings.pauseOnFocusLoss) return;
    if (!gained && !PlatformHeld()) {
        Hold(true);
        pausedByFocus = true;
    } else if (gained && pausedByFocus) {
        Hold(false);
    }
}

// A hidden browser tab gets its timers slowed to a crawl, and a menu over the game hides it: the
// game waits for the player.
void Hidden(bool hidden) {
    if (hidden && !PlatformHeld()) {
        Hold(true);
        pausedByHiding = true;
    } else if (!hidden && pausedByHiding) {
        Hold(false);
    }
}

// A close request ends a pause, so that the game can end as it always does.
void CloseRequested() {
    Hold(false);
    PlatformPostPlayerMessage(WM_CLOSE, 0);
}

void PlayerMessageDispatched(uint32_t message, uintptr_t wParam) {
    if (run.playerMessage != nullptr) run.playerMessage(message, wParam);
}

const PlayerEvents kEvents = {Key,     PadAdded, PadRemoved,     PadButtonChanged,       PadAxisMoved,
                              Control, Focus,    Hidden, CloseRequested, PlayerMessageDispatched};

}  // namespace

void ShellStart(const ShellRun& chosen) {
    run = chosen;
    for (std::vector<uint32_t>& sources : holding) sources.clear();
    pausedByFocus = pausedByHiding = false;
    PlatformSetDisplay(run.settings.windowed, run.settings.integerScaling);
    PlatformSetAudible(!run.settings.muted);
    PadsConfigure(&run.settings.bindings, PadTargets{[](Action action, uint32_t source) { ShellPress(action, source); },
                                                     ShellRelease});
    PlatformListen(&kEvents);
}

void ShellPress(Action action, uint32_t source, bool repeat) {
    const uint32_t key = GameKey(action);
    if (key == 0) {
        if (!repeat) CarryOut(action);
        return;
    }
    if (action == Action::Quit) {
        Hold(false);  // Escape ends a pause, so that the game ends as it always does
    } else if (!run.playerSteers) {
        return;
    }
    std::vector<uint32_t>& sources = holding[static_cast<size_t>(action)];
    const bool first = sources.empty();
    if (std::find(sources.begin(), sources.end(), source) == sources.end()) {
        sources.push_back(source);
    } else if (!repeat) {
        return;
    }
    // The game hears a held key again at each repeat, as from a keyboard.
    if (first || repeat) PlatformPostPlayerMessage(WM_KEYDOWN, key);
}

void ShellRelease(uint32_t source) {
    for (size_t a = 0; a < kActionCount; ++a) {
        std::vector<uint32_t>& sources = holding[a];
        const auto at = std::find(sources.begin(), sources.end(), source);
        if (at == sources.end()) continue;
        sources.erase(at);
        if (sources.empty()) PlatformPostPlayerMessage(WM_KEYUP, GameKey(static_cast<Action>(a)));
    }
}
