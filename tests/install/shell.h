#pragma once
// What the install and package tests share: commands run through the shell, and a scratch
// folder of their own under /tmp.
#include <filesystem>
#include <string>

struct ShellOutput {
    int status = -1;   // the exit status, or -1 when the command did not exit normally
    std::string text;  // standard output and standard error
};

// The command as one shell word, quoted.
std::string Quote(const std::string& s);

ShellOutput RunShell(const std::string& command);

// A new empty folder, removed with everything in it when this goes.
struct ScratchFolder {
    std::filesystem::path path;
    explicit ScratchFolder(const char* name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
};
