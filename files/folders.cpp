#include "files/folders.h"

#include <cstdlib>
#include <sstream>

#include "files/read_file.h"

namespace {

std::string Home() {
    const char* home = std::getenv("HOME");
    return home != nullptr ? home : "";
}

// $XDG_CONFIG_HOME, or ~/.config where that is unset or not absolute; "" without HOME.
std::string ConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return config;
    const std::string home = Home();
    return home.empty() ? "" : home + "/.config";
}

// The folder user-dirs.dirs names for pictures ("$HOME/..." or absolute), or "".
std::string UserDirsPictures(const std::string& home) {
    std::string text, error;
    if (!ReadWholeFile(ConfigFolder() + "/user-dirs.dirs", 64 * 1024, &text, &error)) return "";
    std::istringstream in(text);
    const std::string key = "XDG_PICTURES_DIR=\"";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"') continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        if (!value.empty() && value[0] == '/') return value;
    }
    return "";
}

}  // namespace

const char kSettingsFolderShown[] = "$XDG_CONFIG_HOME/skyring (~/.config/skyring)";

std::string SettingsFolder() {
    const std::string config = ConfigFolder();
    return config.empty() ? "" : config + "/skyring";
}

std::string PicturesFolder() {
    const char* pictures = std::getenv("XDG_PICTURES_DIR");
    if (pictures != nullptr && pictures[0] == '/') return pictures;
    const std::string home = Home();
    if (home.empty()) return "";
    const std::string named = UserDirsPictures(home);
    return named.empty() ? home + "/Pictures" : named;
}

std::string InFolder(const std::string& folder, const std::string& name) { return folder + "/" + name; }
