#pragma once
// A session of play kept or shown again, around the frames: the recording of the player's
// input, a recording played back and the per-frame trace. The game never knows.
#include <cstdint>
#include <string>

#include "shell/options_table.h"

// The files a run names (the options table's FILE lines); "" for none.
struct SessionFiles {
#define SKYRING_NOT_A_FILE(...)
#define SKYRING_FILE_FIELD(field, option, help) std::string field;
    SKYRING_OPTIONS(SKYRING_NOT_A_FILE, SKYRING_FILE_FIELD)
#undef SKYRING_NOT_A_FILE
#undef SKYRING_FILE_FIELD
};

// Before start-up: reads the recording to play and checks the files to write, writing nothing;
// false with the message to print (a bad or unreadable recording, an output that would replace
// an input or another output, or a file the user could not write).
bool CheckSession(const SessionFiles& files, std::string* error);
// Once the game has started: creates the recording and the trace, so that a failed start
// leaves every file as it was.
bool StartSession(std::string* error);
// Whether a recording plays: the player's steering is ignored then.
bool SessionPlaysBack();

// For RunGame and the player's shell.
void SessionBeforeFrame(int64_t frame);
void SessionAfterFrame(int64_t frame);
void SessionPlayerMessage(uint32_t message, uintptr_t wParam);

// Finishes the files; false with the messages when one could not be written whole.
bool CloseSession(std::string* error);
