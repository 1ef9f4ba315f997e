#pragma once
// A recording played back on the screen: its events go to the game in the frames they were
// recorded in, and the playback ends with the jump under way after its last event.
#include <cstdint>
#include <string>

// Reads the recording (before start-up); false with the message.
bool PlaybackRead(const std::string& path, std::string* error);
bool PlaybackActive();
void PlaybackBeforeFrame(int64_t frame);
void PlaybackAfterFrame(int64_t frame);
