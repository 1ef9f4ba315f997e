// The settings file on the desktop: read at start, changed line by line off the frame's thread.
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "files/folders.h"
#include "files/output_file.h"
#include "files/read_file.h"
#include "files/system.h"
#include "shell/settings.h"

namespace {

// Far more than any settings file needs: anything larger was named by mistake.
constexpr size_t kLargestFile = 64 * 1024;

}  // namespace

std::string SettingsPath() {
    const std::string folder = SettingsFolder();
    return folder.empty() ? "" : InFolder(folder, "settings.ini");
}

ShellSettings ReadSettings(const std::string& path, std::vector<std::string>* warnings) {
    std::string text, error;
    if (!ReadWholeFile(path, kLargestFile, &text, &error)) {
        // A missing file is the first run.
        if (errno != ENOENT) warnings->push_back(error + "; using the defaults");
        return ShellSettings{};
    }
    return ParseSettings(text, path, warnings);
}

bool WriteSettingsFile(const std::string& path, const std::string& text, std::string* warning) {
    const auto fail = [&](const std::string& why) {
        *warning = path + ": " + why + "; settings not saved";
        return false;
    };
    std::string target;
    if (path.empty() || !FollowLinks(path, &target)) return fail("not a file the settings can be kept in");
    FileStatus existing;
    if (PathStatus(target, &existing)) {
        if (!existing.regular) return fail("not a regular file");
    } else if (errno != ENOENT) {
        return fail(std::strerror(errno));
    }
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::u8path(target).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);  // the first save
    if (ec) return fail(ec.message());
    OutputFile file;
    std::string error;
    if (!file.Open(path, &error) || std::fputs(text.c_str(), file.stream()) < 0 || !file.Commit(&error)) {
        // The writer's message names the file already.
        *warning = (error.empty() ? path + ": " + std::strerror(errno) : error) + "; settings not saved";
        return false;
    }
    return true;
}

namespace {

// Changes asked for and not yet written, by key: only the latest of each matters.
struct Saves {
    std::mutex lock;
    std::condition_variable wanted;
    std::string path;
    std::map<std::string, std::string> pending;
    void (*warn)(const std::string&) = nullptr;
    bool ending = false;
    std::thread saver;
} saves;

// The player's file as it is, with the changes in it: written whole or not at all.
void Save(const std::string& path, const std::map<std::string, std::string>& changes, void (*warn)(const std::string&)) {
    std::string text, error;
    if (!ReadWholeFile(path, kLargestFile, &text, &error)) {
        // A file that is there but cannot be read is not replaced by one that forgot it.
        if (errno != ENOENT) return warn(error + "; settings not saved");
        text.clear();
    }
    for (const auto& [key, value] : changes) text = ChangeSetting(text, key, value);
    std::string warning;
    if (!WriteSettingsFile(path, text, &warning)) warn(warning);
}

void SaveWhatIsAskedFor() {
    std::unique_lock<std::mutex> hold(saves.lock);
    for (;;) {
        saves.wanted.wait(hold, [] { return !saves.pending.empty() || saves.ending; });
        if (saves.pending.empty()) return;
        const std::map<std::string, std::string> changes = std::move(saves.pending);
        saves.pending.clear();
        const std::string path = saves.path;
        hold.unlock();
        Save(path, changes, saves.warn);
        hold.lock();
    }
}

}  // namespace

void SaveSettingLater(const std::string& path, const std::string& key, const std::string& value,
                      void (*warn)(const std::string&)) {
    std::lock_guard<std::mutex> hold(saves.lock);
    saves.path = path;
    saves.warn = warn;
    saves.pending[key] = value;
    if (!saves.saver.joinable()) {
        saves.ending = false;
        saves.saver = std::thread(SaveWhatIsAskedFor);
    }
    saves.wanted.notify_one();
}

void FinishSavingSettings() {
    {
        std::lock_guard<std::mutex> hold(saves.lock);
        saves.ending = true;
    }
    saves.wanted.notify_one();
    if (saves.saver.joinable()) saves.saver.join();
}
