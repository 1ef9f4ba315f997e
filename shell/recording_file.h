#pragma once
// The recording written to its file as the game goes: each frame's events by the end of that
// frame, so that a session that ends badly still leaves all it had.
#include <string>

// Creates the file (once the game has started), begins the recording and writes its header;
// false with the reason.
bool RecordingFileStart(const std::string& path, std::string* error);
// The frame has ended: its events go to the file.
void RecordingFileEndOfFrame();
// Closes the file; false, with the problem added to `problems`, when it was not written whole.
bool RecordingFileClose(std::string* problems);
