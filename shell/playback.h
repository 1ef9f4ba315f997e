#pragma once
// A recording played back on the screen: its events go to the game in the frames they were
// recorded in, and the playback ends with the jump under way after its last event.
#include <cstdint>
#include <string>
#include <vector>

#include "formats/script.h"

// The recording the next run plays, from a file (read before start-up; false with
// "<path>:<line>: <what is wrong>") or as events already read.
bool PlaybackRead(const std::string& path, std::string* error);
void PlaybackOf(std::vector<ScriptEvent> events);
// The next run is the player's own again.
void PlaybackEnd();
bool PlaybackActive();
void PlaybackBeforeFrame(int64_t frame);
void PlaybackAfterFrame(int64_t frame);
