#include "tools/soak/soak.h"

#include <random>

#include "app/game.h"
#include "platform/debug.h"
#include "platform/headless/headless.h"
#include "sim/world.h"

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

void PostEvent(const ScriptEvent& event) {
    WindowHandle window = HeadlessWindow();
    switch (event.action) {
        case ScriptAction::KeyDown: MessagePost(window, WM_KEYDOWN, event.key, 0); break;
        case ScriptAction::KeyUp: MessagePost(window, WM_KEYUP, event.key, 0); break;
        case ScriptAction::Activate: MessagePost(window, WM_ACTIVATEAPP, 1, 0); break;
        case ScriptAction::Deactivate: MessagePost(window, WM_ACTIVATEAPP, 0, 0); break;
        case ScriptAction::Close: MessagePost(window, WM_CLOSE, 0, 0); break;
    }
}

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

std::vector<ScriptEvent> RandomScript(uint64_t seed, int64_t frames) {
    // mt19937_64 is the same on every standard library; the distributions are not, so the
    // draws are mapped by hand.
    std::mt19937_64 random(seed);
    auto oneIn = [&](uint64_t n) { return random() % n == 0; };
    auto between = [&](int64_t low, int64_t high) {
        return low + static_cast<int64_t>(random() % static_cast<uint64_t>(high - low + 1));
    };
    // Steering keys most, the dive often, the release of the formation seldom.
    const uint32_t arrows[] = {VK_LEFT, VK_RIGHT, VK_DOWN, VK_LEFT, VK_RIGHT, VK_DOWN, VK_LEFT, VK_RIGHT, VK_UP};
    const uint32_t ignored[] = {'A', 'Z', '0', 32, 13, 256 + 43};  // letters, digit, space, return, tab

    std::vector<ScriptEvent> events;
    std::vector<std::pair<uint32_t, int64_t>> held;  // key, frame of its release
    int64_t activateAt = -1;
    for (int64_t frame = 0; frame < frames; ++frame) {
        for (size_t k = 0; k < held.size();) {
            if (held[k].second == frame) {
                events.push_back({frame, ScriptAction::KeyUp, held[k].first});
                held.erase(held.begin() + static_cast<std::ptrdiff_t>(k));
            } else {
                ++k;
            }
        }
        if (frame == activateAt) {
            events.push_back({frame, ScriptAction::Activate, 0});
            activateAt = -1;
        }
        // Pauses between keys, and a second key now and then while one is held.
        if ((held.empty() && oneIn(6)) || (held.size() == 1 && oneIn(30))) {
            const uint32_t key = arrows[random() % (sizeof arrows / sizeof arrows[0])];
            bool already = false;
            for (const auto& h : held) already = already || h.first == key;
            if (!already) {
                events.push_back({frame, ScriptAction::KeyDown, key});
                held.emplace_back(key, frame + between(3, 40));
            }
        }
        if (oneIn(500)) {
            const uint32_t key = ignored[random() % (sizeof ignored / sizeof ignored[0])];
            events.push_back({frame, ScriptAction::KeyDown, key});
            events.push_back({frame, ScriptAction::KeyUp, key});
        }
        if (activateAt < 0 && oneIn(1500)) {
            events.push_back({frame, ScriptAction::Deactivate, 0});
            activateAt = frame + between(1, 100);
        }
    }
    return events;
}

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

SoakResult RunSoak(const std::vector<ScriptEvent>& events, int64_t frames) {
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
    size_t next = 0;
    for (int64_t frame = 0; frame < frames; ++frame) {
        for (; next < events.size() && events[next].frame == frame; ++next) {
            if (events[next].action == ScriptAction::Activate) ++result.stats.activations;
            PostEvent(events[next]);
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
