#pragma once
// The few calls the user's files make of the operating system, paths in UTF-8 throughout:
// system_posix.cpp, and system_windows.cpp, which passes them to the wide-character calls so
// that any letter in a path works. Failures leave the reason in errno. (std::filesystem takes
// them too, as std::filesystem::u8path.)
#include <cstdint>
#include <cstdio>
#include <string>

// What a path or an open file is, enough to tell files apart.
struct FileStatus {
    bool regular = false;
    bool directory = false;
    uint64_t size = 0;
    unsigned permissions = 0;  // the mode's 07777 where there is one, which a replacement keeps
    bool identified = false;   // whether the system told the next two (Wine does not for a
    uint64_t device = 0;       // standard stream); with index: the same pair for the same file
    uint64_t index = 0;        // however it is named
};
// Symlinks followed.
bool PathStatus(const std::string& path, FileStatus* status);
bool StandardOutputStatus(FileStatus* status);
bool DescriptorStatus(int fd, FileStatus* status);

// Whether the user may write this existing file, as opening it would judge: root may replace
// what root may write.
bool UserMayWrite(const std::string& path);
// Whether a link in this folder stands for a descriptor the caller opened (Linux's /proc, as in
// /dev/stdout and /dev/fd/N): such a file is written in place, never replaced.
bool StandsForDescriptors(const std::string& folder);

// A descriptor for reading that never waits (for a FIFO's writer, say), or -1.
int OpenForReading(const std::string& path);
// A new file for writing, failing when the name is taken.
int CreateNewFile(const std::string& path);
// Gives the file these permissions, where the system keeps them as a mode.
void SetPermissions(int fd, unsigned permissions);
// A stream as fopen opens it; the mode is binary everywhere ("wb", "ab").
std::FILE* OpenStream(const std::string& path, const char* mode);
// The stream's bytes on the disk, not only in the system's caches.
bool SyncToDisk(std::FILE* file);
// Renames `from` over `to`, which may exist: at once, so that `to` is the old file or the new.
bool RenameOver(const std::string& from, const std::string& to);
// Safe in a signal handler on POSIX systems (Windows runs its handlers on a thread of their own).
bool RemoveFile(const char* path);

// A number of this process's own, for names no other running program takes.
unsigned long ProcessNumber();
// `handler` runs once when the user or the system asks the program to end (SIGINT, SIGTERM and,
// where there is one, SIGHUP), unless the program was started ignoring that signal; then the
// signal's own action ends the program.
void OnEndingSignals(void (*handler)(int signal));
