#pragma once
// A recording played back on the screen: its events go to the game in the frames they were
// recorded in, and the playback ends with the jump under way after its last event.
#include <cstdint>
#include <string>

// The recording the next run plays, from a file (read before start-up) or from its text (named
// `name` in messages); false with "<name>:<line>: <what is wrong>".
bool PlaybackRead(const std::string& path, std::string* error);
bool PlaybackOfText(const std::string& text, const std::string& name, std::string* error);
// The next run is the player's own again.
void PlaybackEnd();
bool PlaybackActive();
void PlaybackBeforeFrame(int64_t frame);
void PlaybackAfterFrame(int64_t frame);
