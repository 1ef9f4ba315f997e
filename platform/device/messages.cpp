// The one window's message queue, shared by every backend: messages wait here until a frame's
// wait dispatches them; the player's are told apart for the shell above, and the pause holds
// them all, with the game's clock.
#include <atomic>
#include <deque>

#include "platform/device/hooks.h"
#include "platform/player.h"
#include "platform/window.h"

namespace {

// How long play has stood paused, on the backend's own millisecond clock: the game's clock leaves
// that time out, so a paused frame's wait goes on where it stopped.
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

// Paused, the backend sleeps until the player does something, waking now and then all the same.
constexpr uint32_t kHeldWaitMs = 1000;

struct Queued {
    MSG message;
    bool fromPlayer;
};
std::deque<Queued> queue;
WindowHandle window = nullptr;
WindowProcedure procedure = nullptr;
bool dispatchingPlayers = false;  // the message MessageGet took last came from the player
const PlayerEvents* listener = nullptr;
PauseClock held;

}  // namespace

void DeviceWindowOpened(WindowHandle opened, WindowProcedure windowProcedure) {
    window = opened;
    procedure = windowProcedure;
}

void DeviceWindowDestroyed(WindowHandle destroyed) {
    if (destroyed == nullptr || destroyed != window) return;
    PlatformHold(false);
    procedure(destroyed, WM_DESTROY, 0, 0);
    window = nullptr;
    procedure = nullptr;
}

void DeviceMessagesForget() {
    queue.clear();
    window = nullptr;
    procedure = nullptr;
    dispatchingPlayers = false;
    held.Forget();
}

const PlayerEvents* DeviceListener() { return listener; }

void DeviceCloseRequested() {
    if (listener != nullptr && listener->closeRequested != nullptr) return listener->closeRequested();
    // Without a shell the window still closes when asked.
    if (window != nullptr) MessagePost(window, WM_CLOSE, 0, 0);
}
uint32_t DeviceHeldMs() { return held.PausedMs(BackendNowMs()); }

void PlatformListen(const PlayerEvents* events) { listener = events; }

void PlatformHold(bool on) {
    if (!held.Set(on, BackendNowMs())) return;
    BackendHold(on);
}

bool PlatformHeld() { return held.paused(); }

void PlatformPostPlayerMessage(uint32_t message, uintptr_t wParam) {
    if (window == nullptr) return;
    queue.push_back(Queued{MSG{window, message, wParam, 0}, true});
    BackendWake();
}

bool MessagePeek() {
    BackendPollEvents();
    // The pause holds the frame loop right here, in the wait that read it, even when the
    // frame's work took its whole 50 ms: no frame runs until it ends.
    while (held.paused() && window != nullptr) {
        BackendWaitEvents(kHeldWaitMs);
        BackendPollEvents();
    }
    return !queue.empty();
}

int MessageGet(MSG* message) {
    dispatchingPlayers = false;
    while (queue.empty()) {
        if (window == nullptr || !BackendWaitForEvent()) {
            *message = MSG{nullptr, WM_QUIT, 0, 0};
            return 0;
        }
    }
    *message = queue.front().message;
    dispatchingPlayers = queue.front().fromPlayer;
    queue.pop_front();
    return message->message == WM_QUIT ? 0 : 1;
}

void MessageDispatch(const MSG* message) {
    if (message->window == nullptr || message->window != window) return;
    if (dispatchingPlayers && listener != nullptr && listener->playerMessageDispatched != nullptr) {
        listener->playerMessageDispatched(message->message, message->wParam);
    }
    procedure(message->window, message->message, message->wParam, message->lParam);
}

void MessagePost(WindowHandle to, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    queue.push_back(Queued{MSG{to, message, wParam, lParam}, false});
}

void MessagePostQuit(int exitCode) { MessagePost(nullptr, WM_QUIT, static_cast<uintptr_t>(exitCode), 0); }

void MessageWait(uint32_t timeoutMs) {
    if (!queue.empty()) return;
    BackendWaitEvents(timeoutMs);
}

std::vector<MSG> DevicePendingMessages() {
    std::vector<MSG> pending;
    for (const Queued& queued : queue) pending.push_back(queued.message);
    return pending;
}
