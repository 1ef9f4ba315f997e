#pragma once
// The player's settings file: window or full screen, mute, scaling and pausing on focus loss,
// as "name = value" lines. The game never stops for it: what it cannot use is a warning.
#include <string>
#include <vector>

#include "platform/shell.h"

// $XDG_CONFIG_HOME/skyring/settings.ini, or ~/.config/skyring/settings.ini where that is unset
// (or not absolute); "" when neither gives a place.
std::string SettingsPath();
// The settings a file's text gives over the defaults; a line it cannot use adds a warning
// naming `name` and the line.
ShellSettings ParseSettings(const std::string& text, const std::string& name, std::vector<std::string>* warnings);
// The file's settings over the defaults. A line it cannot use adds a warning naming the file
// and line; an unreadable file, or one that is not regular or over 64 KiB, adds one naming the
// file. A missing file is the first run.
ShellSettings ReadSettings(const std::string& path, std::vector<std::string>* warnings);
// The text of a settings file holding these settings.
std::string SettingsText(const ShellSettings& settings);
// Writes the file whole or not at all (a temporary file beside it, then a rename), making its
// folder if needed; a symlink is followed and only a regular file is replaced. False, with a
// warning naming the file, when it could not be written.
// A regular file the player could not write is not replaced.
bool WriteSettings(const std::string& path, const ShellSettings& settings, std::string* warning);
// WriteSettings on a thread of its own, so that no frame waits for the disk; a warning goes to
// `warn` from that thread. A save asked for before the last one began replaces it.
void SaveSettingsLater(const std::string& path, const ShellSettings& settings, void (*warn)(const std::string&));
// Waits for the saves asked for so far to be made.
void FinishSavingSettings();
