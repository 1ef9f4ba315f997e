#pragma once
// Where the device model meets a backend. Backend* is what each backend supplies (one of
// each per backend); Device* is what the shared device model supplies to the backends.
#include <cstddef>
#include <cstdint>

#include <vector>

#include "platform/display.h"
#include "platform/player.h"
#include "platform/window.h"

// Every device call starts here. The headless backend logs "operation object" and fails
// the call on request; the real backend lets every call through. Returns 0 or a code.
uint32_t BackendCall(const char* operation, const char* object = nullptr);

// Where debug lines go: standard error on request (real backend), a list (headless).
void BackendDebugOutput(const char* line);

// Opens and closes whatever shows pages on the screen.
uint32_t BackendDisplayOpen(WindowHandle window);
void BackendDisplayClose();
// Shows a 640 x 480 page of indices through the palette.
void BackendPresent(const uint8_t* page, const PALETTEENTRY palette[256]);

// The message queue (messages.cpp) asks the backend:
// to show a page flipped since, and to turn what came from the player into messages, as the
// frame's wait looks at the queue;
void BackendPollEvents();
// to sleep until something may have come or timeoutMs have passed (the headless clock moves
// on by it instead);
void BackendWaitEvents(uint32_t timeoutMs);
// to wait for something from the player while no message waits: false when nothing can come;
bool BackendWaitForEvent();
// to end a sleep early: a message came;
void BackendWake();
// for its part of the pause: the sound held, the picture dimmed (or not);
void BackendHold(bool held);
// for its clock, in milliseconds, that the time held is measured on.
double BackendNowMs();

// The window the queue dispatches to, from its creation; destroyed, it ends any pause and
// receives WM_DESTROY before the queue forgets it.
void DeviceWindowOpened(WindowHandle window, WindowProcedure procedure);
void DeviceWindowDestroyed(WindowHandle window);
// The shell listening to the player, or null.
const PlayerEvents* DeviceListener();
// Tells the shell listening, if any, what came from the player: `event` is the member of
// PlayerEvents to call. What it returns, or R() when nobody listens.
template <typename R, typename... Params, typename... Args>
R DeviceTell(R (*PlayerEvents::*event)(Params...), Args... args) {
    const PlayerEvents* events = DeviceListener();
    if (events == nullptr || events->*event == nullptr) return R();
    return (events->*event)(args...);
}
// The window is asked to close (its close button, a log-out): the shell hears of it, or, with
// none listening, the window gets WM_CLOSE.
void DeviceCloseRequested();
// Milliseconds held so far, which the game's clock leaves out.
uint32_t DeviceHeldMs();
// Whether the mix is to be heard (the player's mute), read by the mixing thread.
bool DeviceAudible();
// The messages waiting, oldest first, and a fresh queue, for headless programs and tests.
std::vector<MSG> DevicePendingMessages();
void DeviceMessagesForget();

// Opens and closes the sound output. While it is open the backend pulls its sound with
// DeviceAudioMix.
uint32_t BackendAudioOpen();
void BackendAudioClose();

// The platform's own words for a service it could not start ("SDL video: x11 not available"),
// one line without its '\n'. Written as a debug line too, but kept apart from the game's lines
// (PlatformLastReason) so that a failed start-up can give both.
void DeviceReason(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Debug lines written so far, the platform's reasons among them: a trace counts them per frame.
size_t DeviceDebugLineCount();
// The game has finished its frame's work and waits: a real backend's shown debug lines
// (debug_shown.cpp) count their repeats per frame.
void DeviceDebugEndOfFrame();
// Forgets the last line and reason, for a headless program that starts afresh.
void DeviceDebugForget();

// Takes every surface's memory away, as when another program takes the screen: calls on
// them fail with DDERR_SURFACELOST until restored, and restored ones come back blank.
void DeviceLoseSurfaces();
// The page now visible and the palette, for backends, tools and tests that look at the screen;
// null while there is no display.
const uint8_t* DeviceVisiblePage();
const PALETTEENTRY* DevicePaletteColours();
// Frees every device object still alive, for a headless program that starts afresh.
void DeviceDisplayForget();

// Interleaved 16-bit stereo at 44100 Hz, silent (but moving every buffer on) when not
// audible.
void DeviceAudioMix(int16_t* out, size_t frames, bool audible);
// Where a buffer's clip is playing, in mix frames: for tests that listen to the device.
size_t DeviceVoicePosition(struct PlatformAudioBuffer* buffer);
// Frees every audio object still alive, for a headless program that starts afresh.
void DeviceAudioForget();

// Looks a resource up in the table the build embedded.
const struct EmbeddedResource* DeviceFindEmbedded(const char* name, const char* type);
