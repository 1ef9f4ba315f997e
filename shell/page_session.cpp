#include "shell/page_session.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "formats/jump_link.h"
#include "formats/script.h"
#include "shell/playback.h"
#include "shell/recording.h"

namespace {

int64_t currentFrame = 0;
bool watching = false;
std::string watched;        // the jump the run under way or the last one played
std::string given;          // what the page gives: where it comes from, then a link's value or a file's bytes
size_t givenNameSize = 0;
bool givenTooLarge = false;
bool jumpWaits = false;
std::string waiting;        // the recording the next run plays, while jumpWaits
std::vector<ScriptEvent> waitingEvents;  // its events
std::string reply;          // text handed to the page, valid until the next call

void BeforeFrame(int64_t frame) {
    currentFrame = frame;
    PlaybackBeforeFrame(frame);
}

void AfterFrame(int64_t frame) { PlaybackAfterFrame(frame); }

const std::string& Shown() { return watching ? watched : RecordingText(); }

// The recording in what the page gave, or a message for the player.
bool Take(bool fromLink, const std::string& name, std::string* recording, std::string* message) {
    if (givenTooLarge) {
        *message = fromLink ? "This link is longer than any jump can be." : name + " is too large to be a Skyring recording.";
        return false;
    }
    if (fromLink && !RecordingOfJumpLink(given, recording, message)) return false;
    if (!fromLink) *recording = given;
    waitingEvents.clear();
    std::string error;
    if (ParseScript(*recording, name, &waitingEvents, &error)) return true;
    *message = (fromLink ? "The jump in this link cannot be read: " : "Not a Skyring recording: ") + error;
    return false;
}

}  // namespace

bool PageSessionBegin() {
    currentFrame = 0;
    watching = jumpWaits;
    jumpWaits = false;
    if (watching) {
        watched = std::move(waiting);
        waiting.clear();
        PlaybackOf(std::move(waitingEvents));
        waitingEvents.clear();
    } else {
        PlaybackEnd();
        RecordingBegin();
    }
    return watching;
}

GameHooks PageSessionHooks() {
    GameHooks hooks;
    hooks.beforeFrame = BeforeFrame;
    hooks.afterFrame = AfterFrame;
    return hooks;
}

// A jump watched is not the viewer's to record.
void PageSessionPlayerMessage(uint32_t message, uintptr_t wParam) {
    if (!watching) RecordingMessage(message, wParam, currentFrame);
}

extern "C" EMSCRIPTEN_KEEPALIVE int WebJumpLargest() { return static_cast<int>(kMaxScriptBytes); }

// Room for what the page gives: the name of where it comes from ("the link", a file's name), its
// `nameSize` bytes of UTF-8, then the jump's `size` bytes (a link's value or a file's). A size
// below 0 or past WebJumpLargest() leaves room for the name alone, and the jump is refused.
extern "C" EMSCRIPTEN_KEEPALIVE char* WebJumpRoom(int nameSize, int size) {
    givenTooLarge = size < 0 || static_cast<size_t>(size) > kMaxScriptBytes;
    givenNameSize = static_cast<size_t>(std::max(nameSize, 0));
    given.assign(givenNameSize + (givenTooLarge ? 0 : static_cast<size_t>(size)), '\0');
    return given.data();
}

// What the page put in the room, from a link or a file, is the jump the next run plays: "" then;
// else the message for the player, and no jump waits.
extern "C" EMSCRIPTEN_KEEPALIVE const char* WebJumpGive(int fromLink) {
    const std::string name = given.substr(0, givenNameSize);
    given.erase(0, givenNameSize);
    reply.clear();
    waiting.clear();
    jumpWaits = Take(fromLink != 0, name, &waiting, &reply);
    given.clear();
    return reply.c_str();
}

extern "C" EMSCRIPTEN_KEEPALIVE int WebJumpWaits() { return jumpWaits ? 1 : 0; }

// The recording of the game under way or just ended: the player's own, or the jump watched.
extern "C" EMSCRIPTEN_KEEPALIVE const char* WebJumpShown() { return Shown().data(); }
extern "C" EMSCRIPTEN_KEEPALIVE int WebJumpShownSize() { return static_cast<int>(Shown().size()); }
extern "C" EMSCRIPTEN_KEEPALIVE const char* WebJumpShownLink() {
    reply = JumpLinkOf(Shown());
    return reply.c_str();
}
