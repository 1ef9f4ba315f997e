#include "tools/soak/soak.h"

#include <cstdlib>
#include <random>

#include "app/game.h"
#include "platform/debug.h"
#include "platform/headless/headless.h"
#include "sim/world.h"
#include "tools/replay/replay.h"

namespace {

// The first broken range of a list of checks; empty when all hold.
class Checks {
public:
    void Range(const char* what, int32_t slot, int32_t value, int32_t low, int32_t high) {
        if (!failure_.empty() || (value >= low && value <= high)) return;
        failure_ = std::string(what);
        if (slot >= 0) failure_ += " of slot " + std::to_string(slot);
        failure_ += " is " + std::to_string(value) + ", outside " + std::to_string(low) + ".." + std::to_string(high);
    }
    std::string Result() const { return failure_; }

private:
    std::string failure_;
};

// The scene pass is the first step after the player's update that changes the player: it
// moves it and turns it while it spins. ClearScreen is the scene pass's first call, so the
// soak wraps it at link time (--wrap, see CMakeLists.txt) to look at the state the updates
// left. Only the frame's first clear counts; a reactivation in the frame's wait clears again.
bool awaitingScene = false;
bool sceneSeen = false;
std::string updateViolation;


void Count(SoakStats& stats) {
    if (restartRequested != 0) {
        if (crashed != 0) {
            ++stats.crashes;
        } else {
            ++stats.landings;
        }
    }
    if (ObjectTable[PLAYER_SLOT].spinTimer == 20) ++stats.canopyCollisions;
    if (formationSize > stats.largestFormation) stats.largestFormation = formationSize;
    if (balloonCount > stats.mostBalloons) stats.mostBalloons = balloonCount;
    if (catchCount > stats.mostCatches) stats.mostCatches = catchCount;
}

}  // namespace

extern "C" void __real__Z11ClearScreenv();
extern "C" void __wrap__Z11ClearScreenv() {
    if (awaitingScene) {
        awaitingScene = false;
        sceneSeen = true;
        // Before frame 82 of a jump the player's update does not run.
        if (frameCounter > 81) updateViolation = CheckAfterUpdates();
    }
    __real__Z11ClearScreenv();
}

namespace {

// mt19937_64 is the same on every standard library; the distributions are not, so the draws
// are mapped by hand.
class Dice {
public:
    explicit Dice(uint64_t seed) : random_(seed) {}
    bool OneIn(uint64_t n) { return random_() % n == 0; }
    int64_t Between(int64_t low, int64_t high) {
        return low + static_cast<int64_t>(random_() % static_cast<uint64_t>(high - low + 1));
    }
    template <typename T, size_t N>
    T Pick(const T (&choices)[N]) {
        return choices[random_() % N];
    }

private:
    std::mt19937_64 random_;
};

// Steering keys most, the dive often, the release of the formation seldom.
const uint32_t kArrows[] = {VK_LEFT, VK_RIGHT, VK_DOWN, VK_LEFT, VK_RIGHT, VK_DOWN, VK_LEFT, VK_RIGHT, VK_UP};
const uint32_t kIgnoredKeys[] = {'A', 'Z', '0', 32, 13, 256 + 43};  // letters, digit, space, return, tab

// The free diver nearest to the player in reach terms, or -1.
int32_t NearestFreeDiver() {
    const GameObject& player = ObjectTable[PLAYER_SLOT];
    int32_t nearest = -1, best = INT32_MAX;
    for (int32_t s = FIRST_DIVER_SLOT; s <= LAST_DIVER_SLOT; ++s) {
        const GameObject& d = ObjectTable[s];
        if (d.active == 0 || d.formationSlot != 0 || d.altitude <= 1000) continue;
        const int32_t distance = std::abs(d.x - player.x) + std::abs(d.fieldY - player.fieldY);
        if (distance < best) {
            best = distance;
            nearest = s;
        }
    }
    return nearest;
}

// Decides each frame's input from what the game shows, as a player does.
class SoakPlayer {
public:
    explicit SoakPlayer(uint64_t seed) : dice_(seed) {}
    // Appends the input of the frame about to run, from the state the last frame left.
    void Play(int64_t frame, std::vector<ScriptEvent>* events);

private:
    Dice dice_;
    std::vector<std::pair<uint32_t, int64_t>> held_;  // key, frame of its release (-1: while chasing)
    int64_t activateAt_ = -1;
    bool chasing_ = false;  // this jump, go after the divers instead of wandering
    int32_t jumpFrame_ = -1;
};

void SoakPlayer::Play(int64_t frame, std::vector<ScriptEvent>* events) {
    auto isHeld = [&](uint32_t key) {
        for (const auto& k : held_) {
            if (k.first == key) return true;
        }
        return false;
    };
    auto press = [&](uint32_t key, int64_t releaseAt) {
        events->push_back({frame, ScriptAction::KeyDown, key});
        held_.emplace_back(key, releaseAt);
    };
    auto release = [&](size_t k) {
        events->push_back({frame, ScriptAction::KeyUp, held_[k].first});
        held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(k));
    };
    // Each jump, toss whether to wander or to go after the divers.
    if (frameCounter < jumpFrame_ || jumpFrame_ < 0) chasing_ = dice_.OneIn(2);
    jumpFrame_ = frameCounter;
    const GameObject& player = ObjectTable[PLAYER_SLOT];
    const int32_t target = chasing_ && frameCounter > 81 && player.altitude > 1000 ? NearestFreeDiver() : -1;

    for (size_t k = 0; k < held_.size();) {
        // A chase lets its keys go as soon as it stops.
        if (held_[k].second == frame || (held_[k].second < 0 && target < 0)) {
            release(k);
        } else {
            ++k;
        }
    }
    if (frame == activateAt_) {
        events->push_back({frame, ScriptAction::Activate, 0});
        activateAt_ = -1;
    }
    if (target >= 0) {
        // Face the diver across the screen, and dive while it is below and close across.
        const GameObject& d = ObjectTable[target];
        const int32_t ex = d.x - player.x, ey = d.fieldY - player.fieldY;
        const int32_t goal = ex > 10 ? 9 : ex < -10 ? 27 : player.heading;
        const int32_t turn = (goal - player.heading + 36) % 36;
        const bool want[4] = {turn != 0 && turn <= 18, turn > 18, false, ey > 15 && std::abs(ex) < 80};
        const uint32_t keys[4] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
        for (int i = 0; i < 4; ++i) {
            if (want[i] && !isHeld(keys[i])) press(keys[i], -1);
            for (size_t k = 0; k < held_.size(); ++k) {
                if (!want[i] && held_[k].first == keys[i]) {
                    release(k);
                    break;
                }
            }
        }
        // Now and then let the formation go, as a player does.
        if (formationSize > 0 && !isHeld(VK_UP) && dice_.OneIn(400)) press(VK_UP, frame + dice_.Between(1, 5));
    } else if ((held_.empty() && dice_.OneIn(6)) || (held_.size() == 1 && dice_.OneIn(30))) {
        // Pauses between keys, and a second key now and then while one is held.
        const uint32_t key = dice_.Pick(kArrows);
        if (!isHeld(key)) press(key, frame + dice_.Between(3, 40));
    }
    if (dice_.OneIn(500)) {
        const uint32_t key = dice_.Pick(kIgnoredKeys);
        events->push_back({frame, ScriptAction::KeyDown, key});
        events->push_back({frame, ScriptAction::KeyUp, key});
    }
    if (activateAt_ < 0 && dice_.OneIn(1500)) {
        events->push_back({frame, ScriptAction::Deactivate, 0});
        activateAt_ = frame + dice_.Between(1, 100);
    }
}

}  // namespace

void WriteScript(const std::vector<ScriptEvent>& events, std::ostream& out) {
    for (const ScriptEvent& event : events) {
        out << event.frame << ' ';
        switch (event.action) {
            case ScriptAction::KeyDown: out << "down " << event.key; break;
            case ScriptAction::KeyUp: out << "up " << event.key; break;
            case ScriptAction::Activate: out << "activate"; break;
            case ScriptAction::Deactivate: out << "deactivate"; break;
            case ScriptAction::Close: out << "close"; break;
        }
        out << '\n';
    }
}

std::string CheckAfterUpdates() {
    Checks checks;
    const GameObject& player = ObjectTable[PLAYER_SLOT];
    checks.Range("player heading", -1, player.heading, 0, 35);
    checks.Range("player speed", -1, player.speed, 1, 9);
    checks.Range("player x", -1, player.x, 0, 10000);
    checks.Range("player fieldY", -1, player.fieldY, 0, 5000);
    checks.Range("player altitude", -1, player.altitude, 0, 5000);
    checks.Range("aircraft heading", -1, ObjectTable[AIRCRAFT_SLOT].heading, 0, 36);
    return checks.Result();
}

std::string CheckAfterFrame() {
    Checks checks;
    for (int32_t slot = FIRST_DIVER_SLOT; slot <= LAST_DIVER_SLOT; ++slot) {
        const GameObject& diver = ObjectTable[slot];
        checks.Range("diver heading", slot, diver.heading, 0, 36);
        checks.Range("diver x", slot, diver.x, 0, 10000);
        checks.Range("diver fieldY", slot, diver.fieldY, 0, 5000);
        checks.Range("diver altitude", slot, diver.altitude, 0, 5000);
    }
    checks.Range("player altitude", -1, ObjectTable[PLAYER_SLOT].altitude, 0, 5000);
    checks.Range("balloonCount", -1, balloonCount, 0, 29);
    checks.Range("catchCount", -1, catchCount, 0, 29);
    checks.Range("bestBalloonCount", -1, bestBalloonCount, 0, 29);
    checks.Range("bestCatchCount", -1, bestCatchCount, 0, 29);
    checks.Range("formationSize", -1, formationSize, 0, 21);
    for (int32_t i = 1; i <= ITEM_COUNT; ++i) {
        if (ItemField.itemKind[i] < ITEM_NONE || ItemField.itemKind[i] > ITEM_RAPTOR) {
            checks.Range(("itemKind " + std::to_string(i)).c_str(), -1, ItemField.itemKind[i], 0, 5);
        }
    }
    return checks.Result();
}

SoakResult RunSoak(uint64_t seed, int64_t frames) {
    SoakResult result;
    // A run starts as a fresh program does; a long run keeps no call log.
    HeadlessReset();
    ResetGameState();
    HeadlessSetCallLogging(false);
    if (!StartUp()) {
        result.violation = std::string("the game did not start: ") + DebugLastLine();
        return result;
    }
    result.started = true;
    SoakPlayer player(seed);
    for (int64_t frame = 0; frame < frames; ++frame) {
        const size_t first = result.events.size();
        player.Play(frame, &result.events);
        for (size_t e = first; e < result.events.size(); ++e) {
            if (result.events[e].action == ScriptAction::Activate) ++result.stats.activations;
            PostScriptEvent(result.events[e]);
        }
        awaitingScene = true;
        sceneSeen = false;
        updateViolation.clear();
        ++result.framesRun;
        const bool running = RunFrame();
        awaitingScene = false;
        // Pictures partly off the screen write a line each; a long run must not keep them.
        HeadlessClearDebugLines();
        std::string violation;
        if (!running) {
            violation = "the game ended, although nothing asked it to";
        } else if (!sceneSeen) {
            violation = "the frame's scene pass was not seen, so the updates went unchecked";
        } else if (!updateViolation.empty()) {
            violation = updateViolation + " after the updates";
        } else {
            violation = CheckAfterFrame();
            if (!violation.empty()) violation += " after the frame";
        }
        if (!violation.empty()) {
            result.violationFrame = frame;
            result.violation = violation;
            return result;
        }
        Count(result.stats);
    }
    return result;
}
