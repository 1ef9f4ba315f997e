// Game controllers drive the same key messages as the keyboard, so the game never knows which
// it was. Pads come and go at any time; what a pad that goes was holding is let go.
#include <vector>

#include "platform/sdl/sdl_backend.h"

namespace {

// Of 32767: a stick at rest, or worn, never steers.
constexpr int kDeadZone = 10000;

enum : uint8_t { kLeft = 1, kRight = 2, kUp = 4, kDown = 8 };

struct Pad {
    SDL_JoystickID id;
    SDL_GameController* controller;
    uint8_t dpad, stick, buttons;  // the arrows each part holds
    bool back, start;
};

std::vector<Pad> pads;
uint8_t keysDown = 0;  // the arrows whose key-down the pads have sent

Pad* Find(SDL_JoystickID id) {
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
            SdlPostPlayerMessage((held & arrow.bit) != 0 ? WM_KEYDOWN : WM_KEYUP, arrow.key);
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
    SdlSetPaused(false);
    SdlPostPlayerMessage(WM_KEYDOWN, VK_ESCAPE);
    SdlPostPlayerMessage(WM_KEYUP, VK_ESCAPE);
}

void Button(Pad& pad, uint8_t button, bool down) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: Set(&pad.dpad, kLeft, down); break;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: Set(&pad.dpad, kRight, down); break;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: Set(&pad.dpad, kUp, down); break;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: Set(&pad.dpad, kDown, down); break;
        case SDL_CONTROLLER_BUTTON_A: Set(&pad.buttons, kDown, down); break;
        case SDL_CONTROLLER_BUTTON_B: Set(&pad.buttons, kUp, down); break;
        case SDL_CONTROLLER_BUTTON_BACK:
            pad.back = down;
            if (down && pad.start) Quit();
            break;
        case SDL_CONTROLLER_BUTTON_START:
            pad.start = down;
            if (down && pad.back) {
                Quit();
            } else if (down) {
                SdlSetPaused(!SdlPaused());
            }
            break;
        default: break;
    }
}

}  // namespace

void SdlGamepadsOpen() {
    // Without controller support the keyboard still plays; SDL reports pads already plugged in
    // as arrivals, like those plugged in later.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlGamepadsClose() {
    for (Pad& pad : pads) SDL_GameControllerClose(pad.controller);
    pads.clear();
    keysDown = 0;
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlJoysticksPresent() { return SDL_WasInit(SDL_INIT_JOYSTICK) != 0 && SDL_NumJoysticks() > 0; }

bool SdlGamepadEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
            if (controller == nullptr) return true;
            const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
            if (Find(id) == nullptr) {
                pads.push_back(Pad{id, controller, 0, 0, 0, false, false});
            } else {
                SDL_GameControllerClose(controller);  // one open per pad
            }
            return true;
        }
        case SDL_CONTROLLERDEVICEREMOVED:
            for (size_t i = 0; i < pads.size(); ++i) {
                if (pads[i].id != event.cdevice.which) continue;
                SDL_GameControllerClose(pads[i].controller);
                pads.erase(pads.begin() + static_cast<std::ptrdiff_t>(i));
                SendChanges();
                break;
            }
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (Pad* pad = Find(event.cbutton.which)) {
                Button(*pad, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
                SendChanges();
            }
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (Pad* pad = Find(event.caxis.which)) {
                if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
                    pad->stick = (pad->stick & (kUp | kDown)) | StickBits(event.caxis.value, kLeft, kRight);
                } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                    pad->stick = (pad->stick & (kLeft | kRight)) | StickBits(event.caxis.value, kUp, kDown);
                }
                SendChanges();
            }
            return true;
        default: return false;
    }
}
