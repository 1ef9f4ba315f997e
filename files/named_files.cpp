#include "files/named_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "files/output_file.h"
#include "files/system.h"

namespace {

// Which file a path names: an existing one by device and inode, a new one by its folder's and
// its own name. False when that cannot be told (its folder is missing: opening it fails later).
struct Identity {
    uint64_t device;
    uint64_t inode;
    std::string newName;  // empty for an existing file
    bool shareable;       // a device or a FIFO, which several outputs may go to
    bool operator==(const Identity& other) const {
        return device == other.device && inode == other.inode && newName == other.newName;
    }
};

bool IdentityOf(const std::string& path, Identity* identity) {
    FileStatus st;
    if (path == "-" ? StandardOutputStatus(&st) : PathStatus(path, &st)) {
        const bool shareable = !st.regular && !st.directory;
        *identity = Identity{st.device, st.index, "", shareable};
        return st.identified || shareable;
    }
    std::string target;
    if (errno != ENOENT || !FollowLinks(path, &target)) return false;
    const std::filesystem::path at = std::filesystem::u8path(target);
    if (!PathStatus(at.has_parent_path() ? at.parent_path().u8string() : ".", &st)) return false;
    *identity = Identity{st.device, st.index, at.filename().u8string(), false};
    return true;
}

std::string Quoted(const NamedFile& file) { return std::string(file.option) + " '" + file.path + "'"; }

}  // namespace

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
        if (files[i].written && existing && files[i].path != "-" && !UserMayWrite(files[i].path)) {
            const int code = errno;
            *error = Quoted(files[i]) + ": " + std::strerror(code) + "; a file you cannot write is not replaced";
            return false;
        }
    }
    return true;
}
