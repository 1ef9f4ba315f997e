#include "app/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "tools/options/options.h"
#include "tools/output/output_file.h"
#include "tools/output/read_file.h"

namespace {

constexpr size_t kLongestLine = 1024;
// Far more than any settings file needs: anything larger was named by mistake.
constexpr size_t kLargestFile = 64 * 1024;

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// One "name = value" line into the settings; "" when taken, else what is wrong with it.
std::string TakeLine(const std::string& line, ShellSettings* settings) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return "'" + Excerpt(line) + "' is no \"name = value\" line";
    const std::string name = Trim(line.substr(0, equals)), value = Trim(line.substr(equals + 1));
    const auto choice = [&](const char* a, const char* b, bool* isB) {
        if (value != a && value != b) return name + " is " + a + " or " + b + ", not '" + Excerpt(value) + "'";
        *isB = value == b;
        return std::string();
    };
    if (name == "display") return choice("fullscreen", "window", &settings->windowed);
    if (name == "mute") return choice("off", "on", &settings->muted);
    if (name == "pause-on-focus-loss") return choice("off", "on", &settings->pauseOnFocusLoss);
    if (name == "scaling") {
        bool integer = settings->scaling == Scaling::Integer;
        const std::string wrong = choice("sharp", "integer", &integer);
        settings->scaling = integer ? Scaling::Integer : Scaling::Sharp;
        return wrong;
    }
    return "no setting is called '" + Excerpt(name) + "'";
}

}  // namespace

std::string SettingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return std::string(config) + "/skyring/settings.ini";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config/skyring/settings.ini";
    return "";
}

ShellSettings ParseSettings(const std::string& text, const std::string& name, std::vector<std::string>* warnings) {
    ShellSettings settings;
    int number = 1;
    for (size_t start = 0; start < text.size(); ++number) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const auto warn = [&](const std::string& what) {
            warnings->push_back(name + ":" + std::to_string(number) + ": " + what + "; ignored");
        };
        if (end - start > kLongestLine) {
            warn("a line of over " + std::to_string(kLongestLine) + " bytes");
        } else if (const std::string line = Trim(text.substr(start, end - start));
                   !line.empty() && line[0] != '#' && line[0] != ';') {
            if (const std::string wrong = TakeLine(line, &settings); !wrong.empty()) warn(wrong);
        }
        start = end + 1;
    }
    return settings;
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

std::string SettingsText(const ShellSettings& s) {
    return std::string("# Skyring's settings, rewritten by the game when you change one in play.\n") +
           "display = " + (s.windowed ? "window" : "fullscreen") + "\n" + "mute = " + (s.muted ? "on" : "off") +
           "\n" + "scaling = " + (s.scaling == Scaling::Integer ? "integer" : "sharp") + "\n" +
           "pause-on-focus-loss = " + (s.pauseOnFocusLoss ? "on" : "off") + "\n";
}

bool WriteSettings(const std::string& path, const ShellSettings& settings, std::string* warning) {
    const auto fail = [&](const std::string& why) {
        *warning = path + ": " + why + "; settings not saved";
        return false;
    };
    std::string target;
    if (path.empty() || !FollowLinks(path, &target)) return fail("not a file the settings can be kept in");
    struct stat existing {};
    mode_t mode = 0644;
    if (stat(target.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;  // a replaced file keeps its permissions
        if (!S_ISREG(existing.st_mode)) return fail("not a regular file");
        // As cp would not, the game does not replace a file the player made read-only.
        if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return fail(std::strerror(errno));
    } else if (errno != ENOENT) {
        return fail(std::strerror(errno));
    }
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);  // the first save
    if (ec) return fail(ec.message());

    std::string temporary = target + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) return fail(std::strerror(errno));
    const std::string text = SettingsText(settings);
    const bool written = fchmod(fd, mode) == 0 && write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                         fsync(fd) == 0;
    const int code = errno;
    if (close(fd) != 0 || !written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int failure = written ? errno : code;
        unlink(temporary.c_str());
        return fail(std::strerror(failure));
    }
    return true;
}

namespace {

// The saves asked for and not yet made: only the latest matters, since each holds every setting.
struct PendingSave {
    std::string path;
    ShellSettings settings;
};
std::mutex saveLock;
std::condition_variable saveWanted;
std::optional<PendingSave> pendingSave;
bool savingEnds = false;
std::thread saver;

void SaveWhatIsAskedFor(void (*warn)(const std::string&)) {
    std::unique_lock<std::mutex> hold(saveLock);
    for (;;) {
        saveWanted.wait(hold, [] { return pendingSave.has_value() || savingEnds; });
        if (!pendingSave) return;
        const PendingSave save = std::move(*pendingSave);
        pendingSave.reset();
        hold.unlock();
        std::string warning;
        if (!WriteSettings(save.path, save.settings, &warning)) warn(warning);
        hold.lock();
    }
}

}  // namespace

void SaveSettingsLater(const std::string& path, const ShellSettings& settings, void (*warn)(const std::string&)) {
    std::lock_guard<std::mutex> hold(saveLock);
    pendingSave = PendingSave{path, settings};
    if (!saver.joinable()) {
        savingEnds = false;
        saver = std::thread(SaveWhatIsAskedFor, warn);
    }
    saveWanted.notify_one();
}

void FinishSavingSettings() {
    {
        std::lock_guard<std::mutex> hold(saveLock);
        savingEnds = true;
    }
    saveWanted.notify_one();
    if (saver.joinable()) saver.join();
}
