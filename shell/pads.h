#pragma once
// Game controllers drive the same actions as the keyboard, so the game never knows which it
// was: each button through the bindings, the left stick as the D-pad, and a chord ("back+start")
// when a button goes down while the other is held. Pads come and go at any time, and what a pad
// that goes was holding is let go.
#include <cstdint>

#include "platform/player.h"
#include "shell/bindings.h"

// Where the pads' presses go: an action pressed by a source (a button of a pad), and a source
// let go of.
struct PadTargets {
    void (*press)(Action action, uint32_t source);
    void (*release)(uint32_t source);
};

void PadsConfigure(const Bindings* bindings, const PadTargets& targets);
void PadAdded(int32_t pad);
void PadRemoved(int32_t pad);
void PadButtonChanged(int32_t pad, PadButton button, bool down);
// value from -32768 (left, up) to 32767 (right, down).
void PadAxisMoved(int32_t pad, PadAxis axis, int value);
