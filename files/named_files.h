#pragma once
// The files a command line names, checked together before anything is written.
#include <string>
#include <vector>

// A file a program is asked to read or write, as its command line names it.
struct NamedFile {
    const char* option;  // "--trace", for messages
    std::string path;    // "-" is standard output
    bool written;
};
// Before anything is written: false, with a message naming both options, when a file written
// is the same file as another one named (by identity through symlinks, not by spelling), and
// when it would replace a file the user could not open for writing. Devices and FIFOs may be
// shared; a regular or a new file may not.
bool CheckNamedFiles(const std::vector<NamedFile>& files, std::string* error);
