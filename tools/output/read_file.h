#pragma once
// Files the programs read whole (settings, scripts): only regular files of a sane size, so that
// a FIFO, a device or a runaway file named by mistake never hangs or floods the program.
#include <cstddef>
#include <string>

// The file's bytes; false with "<path>: <reason>" when it is missing, unreadable, not a
// regular file or larger than `limit`. errno is ENOENT after a missing file.
bool ReadWholeFile(const std::string& path, size_t limit, std::string* text, std::string* error);
