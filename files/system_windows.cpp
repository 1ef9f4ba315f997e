// The user's files on Windows: every path goes to the wide-character calls, so that a folder
// with any letter in its name (a user's own, "C:\Users\Zoë") works; files are binary, as on
// Linux, so that a trace or a recording has the same bytes on both.
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "files/system.h"
#include "files/wide.h"

namespace {

// errno for the last failed Windows call, as the C library's own calls would set it.
int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_DRIVE: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT: return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_NOT_SAME_DEVICE: return EXDEV;
        case ERROR_DIRECTORY: return ENOTDIR;
        case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
        default: return EIO;
    }
}

bool Failed() {
    errno = ErrnoOf(GetLastError());
    return false;
}

// A disk file's volume and index tell it apart (the C library's st_ino is always 0 here); a
// console, a pipe or NUL is neither regular nor a folder. Where the volume cannot be asked (a
// standard stream Wine made of a Linux file), the file is known but not identified.
bool StatusOf(HANDLE handle, FileStatus* status) {
    *status = FileStatus{};
    if (GetFileType(handle) != FILE_TYPE_DISK) return true;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(handle, &info)) {
        status->directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        status->size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
        status->identified = true;
        status->device = info.dwVolumeSerialNumber;
        status->index = (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    } else {
        FILE_STANDARD_INFO standard{};
        if (!GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard)) return Failed();
        status->directory = standard.Directory != 0;
        status->size = static_cast<uint64_t>(standard.EndOfFile.QuadPart);
    }
    status->regular = !status->directory;
    return true;
}

}  // namespace

bool PathStatus(const std::string& path, FileStatus* status) {
    // Asking for no access opens even a file another program holds; the backup flag opens folders.
    const HANDLE handle = CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Failed();
    const bool known = StatusOf(handle, status);
    CloseHandle(handle);
    return known;
}

bool DescriptorStatus(int fd, FileStatus* status) {
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return false;
    }
    return StatusOf(handle, status);
}

bool StandardOutputStatus(FileStatus* status) { return DescriptorStatus(_fileno(stdout), status); }

// Opening it for writing is the test: a read-only file, or one the folder's permissions keep
// from the user, both refuse.
bool UserMayWrite(const std::string& path) {
    const HANDLE handle = CreateFileW(Wide(path).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Failed();
    CloseHandle(handle);
    return true;
}

bool StandsForDescriptors(const std::string&) { return false; }

int OpenForReading(const std::string& path) { return _wopen(Wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT); }

// Shared for deletion, so that the handler of Ctrl+C, on a thread of its own, can remove a
// partial file while it is still open.
int CreateNewFile(const std::string& path) {
    const HANDLE handle = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = ErrnoOf(GetLastError());
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) CloseHandle(handle);
    return fd;
}

// A file the user may write has no read-only attribute to keep.
void SetPermissions(int, unsigned) {}

std::FILE* OpenStream(const std::string& path, const char* mode) { return _wfopen(Wide(path).c_str(), Wide(mode).c_str()); }

bool SyncToDisk(std::FILE* file) { return _commit(_fileno(file)) == 0; }

// The C library's rename refuses to replace a file.
bool RenameOver(const std::string& from, const std::string& to) {
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
           Failed();
}

bool RemoveFile(const char* path) { return DeleteFileW(Wide(path).c_str()) != 0 || Failed(); }

unsigned long ProcessNumber() { return GetCurrentProcessId(); }

// The C library calls a handler on a thread of its own, with the signal's default action back
// in place: SIGINT for Ctrl+C in a console, SIGTERM when raised.
void OnEndingSignals(void (*handler)(int)) {
    for (int signal : {SIGINT, SIGTERM}) {
        if (std::signal(signal, handler) == SIG_IGN) std::signal(signal, SIG_IGN);
    }
}
