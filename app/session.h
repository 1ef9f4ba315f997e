#pragma once
// A session of play kept or shown again: a recording of the player's input in the replay
// script format, a recording played back, the per-frame trace skyring-replay writes, and
// pictures of the screen. All of it lives around the frames; the game never knows.
#include <cstdint>
#include <string>

#include "platform/display.h"

struct SessionFiles {
    std::string record;  // write the player's input here
    std::string play;    // play this recording instead of the player's arrows
    std::string trace;   // write the trace here
};

// Before start-up: reads the recording to play and checks the files to write, writing nothing;
// false with the message to print (a bad or unreadable recording, an output that would
// replace an input or another output, or a file the user could not write).
bool CheckSession(const SessionFiles& files, std::string* error);
// Once the game has started: creates the recording and the trace, so that a failed start
// leaves every file as it was.
bool StartSession(std::string* error);
// Where the player's pictures go: $XDG_PICTURES_DIR, the desktop's user-dirs.dirs, ~/Pictures.
std::string PicturesFolder();

// For RunGame and the platform's shell.
void SessionBeforeFrame(int64_t frame);
void SessionAfterFrame(int64_t frame);
void SessionPlayerMessage(uint32_t message, uintptr_t wParam);
void SessionPicture(const uint8_t* page, const PALETTEENTRY palette[256]);

// Finishes the files; false with the messages when one could not be written whole.
bool CloseSession(std::string* error);
