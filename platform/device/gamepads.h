#pragma once
// Game controllers drive the same key messages as the keyboard, so the game never knows which
// it was: D-pad or left stick for the arrows, A for Down, B for Up, Start pauses, Back and
// Start together quit. A backend reports each pad's changes; pads come and go at any time,
// and what a pad that goes was holding is let go.
#include <cstdint>

#include "platform/window.h"

enum class PadButton { DpadLeft, DpadRight, DpadUp, DpadDown, A, B, Back, Start, Other };
enum class PadAxis { LeftX, LeftY, Other };

// What Start does in the backend's shell: toggle the pause; and end it before a quit. `post`
// queues the pads' key messages for the window as the player's input.
struct PadShell {
    void (*togglePause)();
    void (*endPause)();
    void (*post)(uint32_t message, uintptr_t key);
};

void PadsConfigure(const PadShell& shell);
// False when the pad is known already.
bool PadAdd(int32_t id);
void PadRemove(int32_t id);
void PadPress(int32_t id, PadButton button, bool down);
// value from -32768 (left, up) to 32767 (right, down).
void PadMove(int32_t id, PadAxis axis, int value);
// Forgets every pad without sending anything (the window is going).
void PadsForget();
