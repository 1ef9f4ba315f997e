#pragma once
// The player's settings file: window or full screen, mute, scaling and pausing on focus loss,
// as "name = value" lines. The game never stops for it: what it cannot use is a warning.
#include <string>
#include <vector>

#include "platform/shell.h"

// $XDG_CONFIG_HOME/skyring/settings.ini, or ~/.config/skyring/settings.ini where that is unset
// (or not absolute); "" when neither gives a place.
std::string SettingsPath();
// The file's settings over the defaults. A line it cannot use adds a warning naming the file
// and line; an unreadable file adds one naming the file. A missing file is the first run.
ShellSettings ReadSettings(const std::string& path, std::vector<std::string>* warnings);
// The text of a settings file holding these settings.
std::string SettingsText(const ShellSettings& settings);
// Writes the file whole or not at all (a temporary file beside it, then a rename), making its
// folder if needed; a symlink is followed and only a regular file is replaced. False, with a
// warning naming the file, when it could not be written.
bool WriteSettings(const std::string& path, const ShellSettings& settings, std::string* warning);
