#pragma once
// The player's input written as it comes, in the replay script format: each frame's events by
// the end of that frame, so that a session that ends badly still leaves all it had.
#include <cstdint>
#include <string>

// Creates the file (once the game has started) with its header; false with the reason.
bool RecordingStart(const std::string& path, std::string* error);
// A message the player's shell passed to the game in this frame.
void RecordingMessage(uint32_t message, uintptr_t wParam, int64_t frame);
// The frame has ended: its events go to the file.
void RecordingEndOfFrame();
// Closes the file; false, with the problem added to `problems`, when it was not written whole.
bool RecordingClose(std::string* problems);
