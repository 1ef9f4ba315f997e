#include "tools/output/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <utility>

namespace {

// The /proc file system's statfs type (Linux's PROC_SUPER_MAGIC), spelled out so that the web
// build, whose headers are not Linux's, compiles this too.
constexpr long kProcSuperMagic = 0x9fa0;

// Partial files being written, where a signal handler can read them: no allocation there.
// A run writes its trace, a GIF and one picture at a time.
struct PartialSlot {
    std::atomic<bool> used{false};
    char path[PATH_MAX];
};
PartialSlot partials[4];

void RemovePartialsAndDie(int signal) {
    for (PartialSlot& slot : partials) {
        if (slot.used.load(std::memory_order_acquire)) unlink(slot.path);
    }
    // SA_RESETHAND restored the default action; it ends the program once this returns.
    raise(signal);
}

bool signalsTaken = false;  // handlers installed, or left to the program

void RemovePartialsOnSignals() {
    if (signalsTaken) return;
    signalsTaken = true;
    struct sigaction action {};
    action.sa_handler = RemovePartialsAndDie;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        // A signal the caller ignores (nohup, a background job) stays ignored.
        if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler != SIG_IGN) sigaction(signal, &action, nullptr);
    }
}

int ReserveSlot(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < static_cast<int>(std::size(partials)); ++i) {
        if (partials[i].used.load(std::memory_order_relaxed)) continue;
        std::memcpy(partials[i].path, path.c_str(), path.size() + 1);
        partials[i].used.store(true, std::memory_order_release);
        return i;
    }
    return -1;
}

bool Failed(std::string* error, const std::string& path, int code) {
    *error = path + ": " + (code != 0 ? std::strerror(code) : "could not be written");
    return false;
}

// Whether the user may write this existing file: root may replace what root may write.
bool Writable(const std::string& path) { return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0; }

// Which file a path names: an existing one by device and inode, a new one by its folder's and
// its own name. False when that cannot be told (its folder is missing: opening it fails later).
struct Identity {
    dev_t device;
    ino_t inode;
    std::string newName;  // empty for an existing file
    bool shareable;       // a device or a FIFO, which several outputs may go to
    bool operator==(const Identity& other) const {
        return device == other.device && inode == other.inode && newName == other.newName;
    }
};

bool IdentityOf(const std::string& path, Identity* identity) {
    struct stat st {};
    if (path == "-" ? fstat(STDOUT_FILENO, &st) == 0 : stat(path.c_str(), &st) == 0) {
        *identity = Identity{st.st_dev, st.st_ino, "", !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)};
        return true;
    }
    std::string target;
    if (errno != ENOENT || !FollowLinks(path, &target)) return false;
    const std::filesystem::path at = target;
    if (stat(at.has_parent_path() ? at.parent_path().c_str() : ".", &st) != 0) return false;
    *identity = Identity{st.st_dev, st.st_ino, at.filename().string(), false};
    return true;
}

std::string Quoted(const NamedFile& file) { return std::string(file.option) + " '" + file.path + "'"; }

}  // namespace

// A loop is left for open to report.
bool FollowLinks(const std::string& path, std::string* target) {
    namespace fs = std::filesystem;
    fs::path at = path;
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(at, ec)); ++hops) {
        struct statfs where {};
        if (statfs(at.has_parent_path() ? at.parent_path().c_str() : ".", &where) == 0 &&
            where.f_type == kProcSuperMagic) {
            return false;
        }
        const fs::path link = fs::read_symlink(at, ec);
        if (ec) break;
        at = link.is_absolute() ? link : at.parent_path() / link;
    }
    *target = at.string();
    return true;
}

void OutputFilesLeaveSignalsAlone() { signalsTaken = true; }

bool CheckNamedFiles(const std::vector<NamedFile>& files, std::string* error) {
    std::vector<Identity> identities(files.size());
    std::vector<bool> known(files.size());
    for (size_t i = 0; i < files.size(); ++i) known[i] = !files[i].path.empty() && IdentityOf(files[i].path, &identities[i]);
    for (size_t i = 0; i < files.size(); ++i) {
        if (!files[i].written || !known[i]) continue;
        for (size_t j = 0; j < files.size(); ++j) {
            if (j == i || !known[j] || identities[j].shareable || !(identities[i] == identities[j])) continue;
            *error = Quoted(files[i]) + " is the same file as " + Quoted(files[j]) + "; nothing was written";
            return false;
        }
    }
    for (size_t i = 0; i < files.size(); ++i) {
        const bool existing = known[i] && identities[i].newName.empty() && !identities[i].shareable;
        if (files[i].written && existing && files[i].path != "-" && !Writable(files[i].path)) {
            const int code = errno;
            *error = Quoted(files[i]) + ": " + std::strerror(code) + "; a file you cannot write is not replaced";
            return false;
        }
    }
    return true;
}

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Open(const std::string& path, std::string* error) {
    Discard();
    path_ = path == "-" ? "standard output" : path;
    if (path == "-") {
        // With descriptor 1 closed, the next file opened would take its place.
        if (fcntl(STDOUT_FILENO, F_GETFD) < 0) return Failed(error, path_, errno);
        file_ = stdout;
        return true;
    }
    struct stat existing {};
    const bool exists = stat(path.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) return Failed(error, path, errno);
    if ((exists && !S_ISREG(existing.st_mode)) || !FollowLinks(path, &target_)) {
        // Appending: a file the caller opened with >> keeps what it holds.
        file_ = std::fopen(path.c_str(), "ab");
        return file_ != nullptr || Failed(error, path, errno);
    }
    if (exists && !Writable(path)) return Failed(error, path, errno);
    partial_ = target_ + ".partial";
    slot_ = ReserveSlot(partial_);
    if (slot_ < 0) {
        partial_.clear();
        return Failed(error, path, ENAMETOOLONG);
    }
    RemovePartialsOnSignals();
    // O_EXCL: a partial file already there is another run's, or one a killed run left.
    const int fd = open(partial_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int code = errno;
        const std::string partial = std::exchange(partial_, std::string());  // not ours to remove
        Discard();
        return Failed(error, code == EEXIST ? partial : path, code);
    }
    if (exists) fchmod(fd, existing.st_mode & 07777);  // replacing a file keeps its permissions
    file_ = fdopen(fd, "wb");
    if (file_ == nullptr) {
        const int code = errno;
        close(fd);
        Discard();
        return Failed(error, path, code);
    }
    return true;
}

bool OutputFile::Commit(std::string* error) {
    FILE* file = std::exchange(file_, nullptr);
    errno = 0;
    const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
    const int flushError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!flushed || !closed) {
        const int code = flushed ? errno : flushError;
        Discard();
        return Failed(error, path_, code);
    }
    if (!partial_.empty() && std::rename(partial_.c_str(), target_.c_str()) != 0) {
        const int code = errno;
        Discard();
        return Failed(error, path_, code);
    }
    partial_.clear();  // now the file itself
    Discard();
    return true;
}

void OutputFile::Discard() {
    // Standard output is left to the program's exit.
    if (file_ != nullptr && file_ != stdout) std::fclose(file_);
    file_ = nullptr;
    if (!partial_.empty()) unlink(partial_.c_str());
    if (slot_ >= 0) partials[slot_].used.store(false, std::memory_order_release);
    slot_ = -1;
    partial_.clear();
}
