#pragma once
// Files the programs write, at the path the user gave: traces, pictures, clips and settings.
#include <cstdio>
#include <string>

// The path a replacement of `path` goes to: the path with its symlinks followed. False when
// a link on /proc is met (/dev/stdout, /dev/fd/N): it stands for a descriptor the caller
// opened, which is written in place.
bool FollowLinks(const std::string& path, std::string* target);

// For a program that ends on SIGINT, SIGTERM and SIGHUP through its own teardown (the game):
// its OutputFiles then install no handlers; the teardown commits or discards them itself.
void OutputFilesLeaveSignalsAlone();

// A regular file, or a new one, is written as TARGET.partial-PID-N beside it, flushed to the
// disk and renamed into place by Commit, so it appears whole or not at all; anything else (a
// device, a FIFO, a process substitution) is written in place. A symlink is followed, never
// replaced, and "-" is standard output. A regular file the user could not open for writing is not replaced. A
// partial file is removed on failure, when the object goes without a Commit, and, unless the
// program handles them itself, when SIGINT, SIGTERM or SIGHUP ends it.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // On failure error is "<path or partial path>: <reason>".
    bool Open(const std::string& path, std::string* error);
    FILE* stream() const { return file_; }
    // The path as given, or "standard output", for messages.
    const std::string& name() const { return path_; }
    // Flushes, closes and renames into place; any failure is reported here, standard
    // output's included.
    bool Commit(std::string* error);

private:
    void Discard();

    std::string path_;     // as the user named it, for messages
    std::string target_;   // what is written: the path with its symlinks followed
    std::string partial_;  // empty when written in place
    int slot_ = -1;        // where the signal handler finds partial_
    FILE* file_ = nullptr;
};
