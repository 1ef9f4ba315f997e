#pragma once
// Long headless runs of the game's own frame loop on random input, checking after every
// frame the ranges that the game keeps its state in.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "formats/script.h"

// The script in the replay tool's format, so that a broken run can be replayed and looked at.
void WriteScript(const std::vector<ScriptEvent>& events, std::ostream& out);

// The first broken invariant of each checking point, as "<what> is <value>"; empty when all hold.
// Right after the player's update (it ran this frame) and the aircraft's:
std::string CheckAfterUpdates();
// After the whole frame: the divers as their update left them, the counts as the status
// display capped them, the formation and the item field.
std::string CheckAfterFrame();

// What a run went through, so that a quiet run can be told from one that saw nothing.
struct SoakStats {
    int64_t landings = 0;
    int64_t crashes = 0;
    int64_t canopyCollisions = 0;  // frames that started a spin of the player
    int64_t activations = 0;
    int32_t largestFormation = 0;
    int32_t mostBalloons = 0;
    int32_t mostCatches = 0;
};

struct SoakResult {
    bool started = false;  // false: start-up failed, violation says why
    int64_t framesRun = 0;
    int64_t violationFrame = -1;  // -1: every invariant held
    std::string violation;
    SoakStats stats;
    std::vector<ScriptEvent> events;  // the input given, up to the last frame run
};

// Runs the game headless for the given frames, played by a random player from the seed. The
// player holds arrow keys for a few to a few dozen frames, now and then two at once, now and
// then presses a key the game ignores, and lets the window lose and regain the foreground. In
// every other jump it goes after the nearest free diver instead, so that formations are built
// and released too. Never Escape, never a close request. It watches the game as a player
// watches the screen, so the same seed gives the same run. Stops at the first broken invariant.
SoakResult RunSoak(uint64_t seed, int64_t frames);
