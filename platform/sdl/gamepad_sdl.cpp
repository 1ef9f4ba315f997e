// Game controllers through SDL, reported to the player's shell, which binds their buttons.
#include <vector>

#include "platform/device/hooks.h"
#include "platform/player.h"
#include "platform/sdl/sdl_backend.h"

namespace {

static_assert(static_cast<int>(PadButton::Count) == SDL_CONTROLLER_BUTTON_MAX, "pad buttons are SDL's, in its order");

struct Controller {
    SDL_JoystickID id;
    SDL_GameController* sdl;
};
std::vector<Controller> controllers;

PadAxis AxisOf(uint8_t axis) {
    return axis == SDL_CONTROLLER_AXIS_LEFTX ? PadAxis::LeftX
           : axis == SDL_CONTROLLER_AXIS_LEFTY ? PadAxis::LeftY
                                               : PadAxis::Other;
}

void Forget(size_t index) {
    SDL_GameControllerClose(controllers[index].sdl);
    controllers.erase(controllers.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace

void SdlGamepadsOpen() {
    // Without controller support the keyboard still plays; SDL reports pads already plugged in
    // as arrivals, like those plugged in later.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlGamepadsClose() {
    while (!controllers.empty()) {
        const SDL_JoystickID id = controllers.back().id;
        Forget(controllers.size() - 1);
        DeviceTell(&PlayerEvents::padRemoved, id);
    }
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlJoysticksPresent() { return SDL_WasInit(SDL_INIT_JOYSTICK) != 0 && SDL_NumJoysticks() > 0; }

bool SdlGamepadEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
            if (controller == nullptr) return true;
            const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
            for (const Controller& known : controllers) {
                if (known.id != id) continue;
                SDL_GameControllerClose(controller);  // one open per pad
                return true;
            }
            controllers.push_back(Controller{id, controller});
            DeviceTell(&PlayerEvents::padAdded, id);
            return true;
        }
        case SDL_CONTROLLERDEVICEREMOVED:
            for (size_t i = 0; i < controllers.size(); ++i) {
                if (controllers[i].id != event.cdevice.which) continue;
                Forget(i);
                DeviceTell(&PlayerEvents::padRemoved, event.cdevice.which);
                break;
            }
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (event.cbutton.button < static_cast<uint8_t>(PadButton::Count)) {
                DeviceTell(&PlayerEvents::padButton, event.cbutton.which, static_cast<PadButton>(event.cbutton.button),
                     event.type == SDL_CONTROLLERBUTTONDOWN);
            }
            return true;
        case SDL_CONTROLLERAXISMOTION:
            DeviceTell(&PlayerEvents::padAxis, event.caxis.which, AxisOf(event.caxis.axis), static_cast<int>(event.caxis.value));
            return true;
        default: return false;
    }
}
