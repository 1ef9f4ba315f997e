#pragma once
// The debugger output: one line per failed platform call that the game checks.

// Writes one line as it is (a line that lacks its '\n' runs on into the next one).
void DebugOutput(const char* line);
// The last line written, or "" when none was; a failed start-up repeats it to the user.
const char* DebugLastLine();
// Formats like printf into a 256-character buffer, then writes it with DebugOutput.
void DebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The platform's own words for a service it could not start ("SDL video: x11 not available"),
// one line without its '\n', kept apart from the game's lines so that a failed start-up can
// give both. "" when there were none.
const char* PlatformLastReason();
// Whether debug lines already reach standard error as they are written.
bool DebugLinesShown();
