#include "files/output_file.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <utility>

#include "files/system.h"

namespace {

// Partial files being written, where a signal handler can read them: no allocation there.
// A run writes its trace, a GIF and one picture at a time, and the game its settings on a
// thread of their own.
enum SlotState : int { kFree, kTaken, kReady };
struct PartialSlot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};
PartialSlot partials[4];

void RemovePartialsAndDie(int signal) {
    for (PartialSlot& slot : partials) {
        if (slot.state.load(std::memory_order_acquire) == kReady) RemoveFile(slot.path);
    }
    // The handler ran once: the default action is back, and ends the program once raised.
    raise(signal);
}

bool signalsTaken = false;  // handlers installed, or left to the program

void RemovePartialsOnSignals() {
    if (signalsTaken) return;
    signalsTaken = true;
    OnEndingSignals(RemovePartialsAndDie);
}

int ReserveSlot(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < static_cast<int>(std::size(partials)); ++i) {
        int free = kFree;
        if (!partials[i].state.compare_exchange_strong(free, kTaken, std::memory_order_acquire)) continue;
        std::memcpy(partials[i].path, path.c_str(), path.size() + 1);
        partials[i].state.store(kReady, std::memory_order_release);
        return i;
    }
    return -1;
}

// A name of this process's own beside the target: a partial file another run, or a killed one,
// left there is never touched.
int CreatePartial(const std::string& target, std::string* partial) {
    static std::atomic<int> made{0};
    for (int tries = 0; tries < 100; ++tries) {
        *partial = target + ".partial-" + std::to_string(ProcessNumber()) + "-" + std::to_string(made++);
        const int fd = CreateNewFile(*partial);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool Failed(std::string* error, const std::string& path, int code) {
    *error = path + ": " + (code != 0 ? std::strerror(code) : "could not be written");
    return false;
}

}  // namespace

// A loop is left for open to report.
bool FollowLinks(const std::string& path, std::string* target) {
    namespace fs = std::filesystem;
    fs::path at = fs::u8path(path);
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(at, ec)); ++hops) {
        if (StandsForDescriptors(at.has_parent_path() ? at.parent_path().u8string() : ".")) return false;
        const fs::path link = fs::read_symlink(at, ec);
        if (ec) break;
        at = link.is_absolute() ? link : at.parent_path() / link;
    }
    *target = at.u8string();
    return true;
}

void OutputFilesLeaveSignalsAlone() { signalsTaken = true; }


OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Open(const std::string& path, std::string* error) {
    Discard();
    path_ = path == "-" ? "standard output" : path;
    if (path == "-") {
        // With descriptor 1 closed, the next file opened would take its place.
        FileStatus out;
        if (!StandardOutputStatus(&out)) return Failed(error, path_, errno);
        file_ = stdout;
        return true;
    }
    FileStatus existing;
    const bool exists = PathStatus(path, &existing);
    if (!exists && errno != ENOENT) return Failed(error, path, errno);
    if ((exists && !existing.regular) || !FollowLinks(path, &target_)) {
        // Appending: a file the caller opened with >> keeps what it holds.
        file_ = OpenStream(path, "ab");
        return file_ != nullptr || Failed(error, path, errno);
    }
    if (exists && !UserMayWrite(path)) return Failed(error, path, errno);
    std::string partial;
    const int fd = CreatePartial(target_, &partial);
    if (fd < 0) return Failed(error, path, errno);
    partial_ = partial;
    // Without a slot (five written at once) a signal would leave it behind; nothing else would.
    slot_ = ReserveSlot(partial_);
    RemovePartialsOnSignals();
    if (exists) SetPermissions(fd, existing.permissions);  // replacing a file keeps its permissions
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
    // On a regular file, the bytes reach the disk before the rename makes them the file.
    const bool flushed =
        std::fflush(file) == 0 && !std::ferror(file) && (partial_.empty() || SyncToDisk(file));
    const int flushError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!flushed || !closed) {
        const int code = flushed ? errno : flushError;
        Discard();
        return Failed(error, path_, code);
    }
    if (!partial_.empty() && !RenameOver(partial_, target_)) {
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
    if (!partial_.empty()) RemoveFile(partial_.c_str());
    if (slot_ >= 0) partials[slot_].state.store(kFree, std::memory_order_release);
    slot_ = -1;
    partial_.clear();
}
