// Game controllers through SDL, handed to the shared pad logic (platform/device/gamepads.h).
#include <vector>

#include "platform/device/gamepads.h"
#include "platform/sdl/sdl_backend.h"

namespace {

struct Controller {
    SDL_JoystickID id;
    SDL_GameController* sdl;
};
std::vector<Controller> controllers;

PadButton ButtonOf(uint8_t button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::DpadLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::DpadRight;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::DpadUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::DpadDown;
        case SDL_CONTROLLER_BUTTON_A: return PadButton::A;
        case SDL_CONTROLLER_BUTTON_B: return PadButton::B;
        case SDL_CONTROLLER_BUTTON_BACK: return PadButton::Back;
        case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
        default: return PadButton::Other;
    }
}

PadAxis AxisOf(uint8_t axis) {
    return axis == SDL_CONTROLLER_AXIS_LEFTX ? PadAxis::LeftX
           : axis == SDL_CONTROLLER_AXIS_LEFTY ? PadAxis::LeftY
                                               : PadAxis::Other;
}

}  // namespace

void SdlGamepadsOpen() {
    PadsConfigure(PadShell{[] { SdlSetPaused(!SdlPaused()); }, [] { SdlSetPaused(false); }, SdlPostPlayerMessage});
    // Without controller support the keyboard still plays; SDL reports pads already plugged in
    // as arrivals, like those plugged in later.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlGamepadsClose() {
    for (const Controller& controller : controllers) SDL_GameControllerClose(controller.sdl);
    controllers.clear();
    PadsForget();
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlJoysticksPresent() { return SDL_WasInit(SDL_INIT_JOYSTICK) != 0 && SDL_NumJoysticks() > 0; }

bool SdlGamepadEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
            if (controller == nullptr) return true;
            const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
            if (PadAdd(id)) {
                controllers.push_back(Controller{id, controller});
            } else {
                SDL_GameControllerClose(controller);  // one open per pad
            }
            return true;
        }
        case SDL_CONTROLLERDEVICEREMOVED:
            for (size_t i = 0; i < controllers.size(); ++i) {
                if (controllers[i].id != event.cdevice.which) continue;
                SDL_GameControllerClose(controllers[i].sdl);
                controllers.erase(controllers.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
            PadRemove(event.cdevice.which);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            PadPress(event.cbutton.which, ButtonOf(event.cbutton.button), event.type == SDL_CONTROLLERBUTTONDOWN);
            return true;
        case SDL_CONTROLLERAXISMOTION:
            PadMove(event.caxis.which, AxisOf(event.caxis.axis), event.caxis.value);
            return true;
        default: return false;
    }
}
