#pragma once
// The real game's own trace, one JSON line a frame as skyring-replay writes it, so that a live
// session, its replay and its playback compare byte for byte.
#include <cstdint>
#include <string>

// From before start-up, so that the first frame's line holds what start-up played.
void LiveTraceListen();
// Once the game has started: opens the file; false with the reason.
bool LiveTraceStart(const std::string& path, std::string* error);
void LiveTraceFrame(int64_t frame);
// Finishes the file; false, with the problem added to `problems`, when it was not written whole.
bool LiveTraceClose(std::string* problems);
