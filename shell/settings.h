#pragma once
// The player's settings: the switches of the options table and the bindings, kept in
// settings.ini as "name = value" lines. The game never stops for the file: what it cannot use
// is a warning.
#include <string>
#include <vector>

#include "shell/bindings.h"
#include "shell/options_table.h"

struct ShellSettings {
#define SKYRING_SETTING_FIELD(field, key, off, on, byDefault, ...) bool field = byDefault;
#define SKYRING_NOT_A_SETTING(...)
    SKYRING_OPTIONS(SKYRING_SETTING_FIELD, SKYRING_NOT_A_SETTING)
#undef SKYRING_SETTING_FIELD
#undef SKYRING_NOT_A_SETTING
    Bindings bindings = DefaultBindings();
};

// A switch of the table, as the program walks them.
struct SettingRow {
    bool ShellSettings::*field;
    const char* key;
    const char* values[2];   // off, on
    const char* options[2];  // choosing off, on ("" for none)
    const char* help[2];
};
extern const std::vector<SettingRow> kSettingRows;

// $XDG_CONFIG_HOME/skyring/settings.ini (~/.config/...); "" when there is no such place.
std::string SettingsPath();
// The settings a file's text gives over the defaults. A line it cannot use, an unknown key
// or pad button, or one bound to two actions adds a warning naming `name` and the line, and
// leaves that setting as it was.
ShellSettings ParseSettings(const std::string& text, const std::string& name, std::vector<std::string>* warnings);
// The file's settings over the defaults. A file that cannot be read, is not regular or is over
// 64 KiB adds one warning naming the file; a missing file is the first run.
ShellSettings ReadSettings(const std::string& path, std::vector<std::string>* warnings);
// A whole settings file holding these settings: every switch, and the bindings that differ
// from the defaults.
std::string SettingsText(const ShellSettings& settings);
// The text with `key = value` in place of the line that set the key last, or after it all;
// the rest of the player's file (comments, bindings) stays as it was.
std::string ChangeSetting(const std::string& text, const std::string& key, const std::string& value);

// Writes the file whole or not at all, making its folder if needed; a symlink is followed,
// and only a regular file that the player may write is replaced. False, with a warning naming
// the file, when it could not be written.
bool WriteSettingsFile(const std::string& path, const std::string& text, std::string* warning);
// The setting changed in the file on a thread of its own, so that no frame waits for the disk;
// a warning goes to `warn` from that thread. Changes asked for before the thread gets to them
// are made together.
void SaveSettingLater(const std::string& path, const std::string& key, const std::string& value,
                      void (*warn)(const std::string&));
// Waits for the changes asked for so far to be written.
void FinishSavingSettings();
