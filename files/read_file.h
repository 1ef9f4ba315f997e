#pragma once
// Files the programs read whole (settings, scripts): only regular files of a sane size, so that
// a FIFO, a device or a runaway file named by mistake never hangs or floods the program; and
// how a message quotes what they hold.
#include <cstddef>
#include <string>

// The file's bytes; false with "<path>: <reason>" when it is missing, unreadable, not a
// regular file or larger than `limit`. errno is ENOENT after a missing file.
bool ReadWholeFile(const std::string& path, size_t limit, std::string* text, std::string* error);

// Text from the user as a message quotes it: about 80 characters at most, any byte outside
// printable ASCII (a NUL, a byte-order mark) as \xNN and a backslash as \\.
std::string Excerpt(const std::string& text);
