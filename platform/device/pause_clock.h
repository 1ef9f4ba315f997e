#pragma once
// How long play has stood paused, on a backend's own millisecond clock: the game's clock leaves
// that time out, so a paused frame's wait goes on where it stopped.
#include <atomic>
#include <cstdint>

class PauseClock {
public:
    bool paused() const { return paused_; }
    // False when the pause already was so.
    bool Set(bool on, double nowMs) {
        if (on == paused_) return false;
        if (on) {
            began_ = nowMs;
        } else {
            before_ += nowMs - began_;
        }
        paused_ = on;
        return true;
    }
    // As new: no pause now, none before.
    void Forget() {
        paused_ = false;
        began_ = before_ = 0;
    }
    // Every pause so far, the one under way included, in whole milliseconds (wrapping, as the
    // game's 32-bit tick does).
    uint32_t PausedMs(double nowMs) const {
        return static_cast<uint32_t>(static_cast<uint64_t>(before_ + (paused_ ? nowMs - began_ : 0)));
    }

private:
    std::atomic<bool> paused_{false};  // may be asked from other threads
    double began_ = 0;   // when the pause under way began
    double before_ = 0;  // milliseconds of earlier pauses
};
