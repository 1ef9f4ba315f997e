// The user's files on Linux and the other POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "files/system.h"

namespace {

// The /proc file system's statfs type (Linux's PROC_SUPER_MAGIC), spelled out so that the web
// build, whose headers are not Linux's, compiles this too.
constexpr long kProcSuperMagic = 0x9fa0;

void Fill(const struct stat& st, FileStatus* status) {
    status->regular = S_ISREG(st.st_mode);
    status->directory = S_ISDIR(st.st_mode);
    status->size = static_cast<uint64_t>(st.st_size);
    status->permissions = st.st_mode & 07777;
    status->identified = true;
    status->device = static_cast<uint64_t>(st.st_dev);
    status->index = static_cast<uint64_t>(st.st_ino);
}

}  // namespace

bool PathStatus(const std::string& path, FileStatus* status) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    Fill(st, status);
    return true;
}

bool DescriptorStatus(int fd, FileStatus* status) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return false;
    Fill(st, status);
    return true;
}

bool StandardOutputStatus(FileStatus* status) { return DescriptorStatus(STDOUT_FILENO, status); }

bool UserMayWrite(const std::string& path) { return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0; }

bool StandsForDescriptors(const std::string& folder) {
    struct statfs where {};
    return statfs(folder.c_str(), &where) == 0 && where.f_type == kProcSuperMagic;
}

// Non-blocking: opening a FIFO for reading would otherwise wait for a writer.
int OpenForReading(const std::string& path) { return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }

int CreateNewFile(const std::string& path) { return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }

void SetPermissions(int fd, unsigned permissions) { fchmod(fd, permissions); }

std::FILE* OpenStream(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool SyncToDisk(std::FILE* file) { return fsync(fileno(file)) == 0; }

bool RenameOver(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

bool RemoveFile(const char* path) { return unlink(path) == 0; }

unsigned long ProcessNumber() { return static_cast<unsigned long>(getpid()); }

void OnEndingSignals(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        // A signal the caller ignores (nohup, a background job) stays ignored.
        if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler != SIG_IGN) sigaction(signal, &action, nullptr);
    }
}
