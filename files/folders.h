#pragma once
// Where a desktop keeps a user's things: the XDG base and user directories (folders.cpp), or
// Windows' known folders (folders_windows.cpp).
#include <string>

// The folder the game keeps its settings in: $XDG_CONFIG_HOME/skyring, or ~/.config/skyring where
// that is unset or not absolute; on Windows %APPDATA%\Skyring. "" when there is no such place
// (HOME unset).
std::string SettingsFolder();
// The same as the player reads it in the usage: "$XDG_CONFIG_HOME/skyring (~/.config/skyring)".
extern const char kSettingsFolderShown[];
// $XDG_PICTURES_DIR, else the folder the desktop's user-dirs.dirs names for pictures, else
// ~/Pictures; "" when HOME is unset. On Windows the user's Pictures folder, wherever they moved it.
std::string PicturesFolder();
// `name` in `folder`, with the system's separator.
std::string InFolder(const std::string& folder, const std::string& name);
