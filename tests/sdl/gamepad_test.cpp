// Game controllers through SDL's virtual joysticks and the player's shell: a pad's default
// bindings send the keyboard's key messages, a pad lets go of what it held when it is pulled
// out, shares the arrows with a second pad, pauses with Start and quits with Back and Start.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/player.h"
#include "platform/sdl/sdl_backend.h"
#include "shell/player_shell.h"

namespace {

using Message = std::pair<uint32_t, uintptr_t>;  // message, key
std::vector<Message> received;

intptr_t Record(WindowHandle, uint32_t message, uintptr_t wParam, intptr_t) {
    if (message == WM_KEYDOWN || message == WM_KEYUP) received.emplace_back(message, wParam);
    return 0;
}

class Gamepad : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        // The offscreen window never has the focus, which SDL otherwise asks of pad input.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        ShellStart(ShellRun{});
        window_ = WindowCreate("orb", "pads", Record);
        ASSERT_NE(window_, nullptr);
        Pump();
    }
    void TearDown() override {
        for (SDL_Joystick* pad : pads_) {
            const int index = DeviceIndex(pad);
            SDL_JoystickClose(pad);
            if (index >= 0) SDL_JoystickDetachVirtual(index);
        }
        WindowDestroy(window_);
        PlatformListen(nullptr);
    }

    static int DeviceIndex(SDL_Joystick* pad) {
        const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id) return i;
        }
        return -1;
    }
    SDL_Joystick* Attach() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        SDL_Joystick* pad = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        EXPECT_NE(pad, nullptr) << SDL_GetError();
        pads_.push_back(pad);
        Pump();
        return pad;
    }
    void Detach(SDL_Joystick* pad) {
        const int index = DeviceIndex(pad);
        SDL_JoystickClose(pad);
        SDL_JoystickDetachVirtual(index);
        pads_.erase(std::find(pads_.begin(), pads_.end(), pad));
    }
    // Everything the pads did reaches the window procedure; what it received since the last call.
    std::vector<Message> Pump() {
        received.clear();
        for (int i = 0; i < 3; ++i) {
            SDL_Delay(5);
            while (MessagePeek()) {
                MSG message;
                if (!MessageGet(&message)) break;
                MessageDispatch(&message);
            }
        }
        return received;
    }
    std::vector<Message> Button(SDL_Joystick* pad, int button, bool down) {
        SDL_JoystickSetVirtualButton(pad, button, down ? 1 : 0);
        return Pump();
    }
    std::vector<Message> Axis(SDL_Joystick* pad, int axis, int16_t value) {
        SDL_JoystickSetVirtualAxis(pad, axis, value);
        return Pump();
    }

    WindowHandle window_ = nullptr;
    std::vector<SDL_Joystick*> pads_;
};

const Message Down(uintptr_t key) { return {WM_KEYDOWN, key}; }
const Message Up(uintptr_t key) { return {WM_KEYUP, key}; }
using Messages = std::vector<Message>;

TEST_F(Gamepad, DpadStickAndButtonsAreTheArrowKeysAndAPulledPadLetsGo) {
    SDL_Joystick* pad = Attach();
    EXPECT_EQ(Button(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true), Messages{Down(VK_LEFT)});
    EXPECT_EQ(Axis(pad, SDL_CONTROLLER_AXIS_LEFTX, -30000), Messages{}) << "already held by the d-pad";
    EXPECT_EQ(Button(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, false), Messages{}) << "still held by the stick";
    EXPECT_EQ(Axis(pad, SDL_CONTROLLER_AXIS_LEFTX, -5000), Messages{Up(VK_LEFT)}) << "inside the dead zone";
    EXPECT_EQ(Axis(pad, SDL_CONTROLLER_AXIS_LEFTY, 30000), Messages{Down(VK_DOWN)});
    EXPECT_EQ(Axis(pad, SDL_CONTROLLER_AXIS_LEFTY, 0), Messages{Up(VK_DOWN)});
    EXPECT_EQ(Button(pad, SDL_CONTROLLER_BUTTON_A, true), Messages{Down(VK_DOWN)});
    EXPECT_EQ(Button(pad, SDL_CONTROLLER_BUTTON_B, true), Messages{Down(VK_UP)});
    Detach(pad);
    Messages letGo = Pump();
    std::sort(letGo.begin(), letGo.end());
    EXPECT_EQ(letGo, (Messages{Up(VK_UP), Up(VK_DOWN)})) << "a pad pulled out mid-press lets go";
}

TEST_F(Gamepad, TwoPadsShareTheArrowsAndStartPausesWhileBackAndStartQuit) {
    SDL_Joystick* first = Attach();
    SDL_Joystick* second = Attach();
    EXPECT_EQ(Button(first, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true), Messages{Down(VK_RIGHT)});
    EXPECT_EQ(Button(second, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true), Messages{});
    EXPECT_EQ(Button(first, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false), Messages{}) << "the second pad holds it";
    EXPECT_EQ(Button(second, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false), Messages{Up(VK_RIGHT)});

    // Start pauses, and the pause holds this thread in the wait with the game: a timer sees it
    // held, then lets go of Start and presses it again.
    static std::atomic<bool> heldMeanwhile{false};
    SDL_AddTimer(
        300,
        [](Uint32, void* pad) -> Uint32 {
            heldMeanwhile = PlatformHeld();
            SDL_JoystickSetVirtualButton(static_cast<SDL_Joystick*>(pad), SDL_CONTROLLER_BUTTON_START, 0);
            SDL_Delay(100);
            SDL_JoystickSetVirtualButton(static_cast<SDL_Joystick*>(pad), SDL_CONTROLLER_BUTTON_START, 1);
            return 0;
        },
        second);
    Button(second, SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_TRUE(heldMeanwhile);
    EXPECT_FALSE(PlatformHeld()) << "the second Start ended the pause";
    Button(second, SDL_CONTROLLER_BUTTON_START, false);

    Button(first, SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_EQ(Button(first, SDL_CONTROLLER_BUTTON_START, true), (Messages{Down(VK_ESCAPE), Up(VK_ESCAPE)}));
    EXPECT_FALSE(PlatformHeld());
}

}  // namespace
