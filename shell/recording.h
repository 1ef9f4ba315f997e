#pragma once
// The player's input as the game receives it, kept as a recording in the replay script format
// (what skyring-replay and a playback read): a header naming the game's version and the time,
// then each event's line, numbered with the frame it reached the game in. The desktop writes it
// to its file as it grows (recording_file.h); the page keeps it to pass on.
#include <cstdint>
#include <string>

// A new recording, with its header; until the first, messages are not kept.
void RecordingBegin();
// A message the player's shell passed to the game in this frame.
void RecordingMessage(uint32_t message, uintptr_t wParam, int64_t frame);
// The recording so far.
const std::string& RecordingText();
