#pragma once
// The debugger output: one line per failed platform call that the game checks.

// Writes one line as it is (a line that lacks its '\n' runs on into the next one).
void DebugOutput(const char* line);
// The last line written, or "" when none was; a failed start-up repeats it to the user.
const char* DebugLastLine();
// Formats like printf into a 256-character buffer, then writes it with DebugOutput.
void DebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
