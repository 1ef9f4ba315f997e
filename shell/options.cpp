#include "shell/options.h"

#include <cstring>

#include "files/folders.h"
#include "files/read_file.h"
#include "shell/command_line.h"

namespace {

#define SKYRING_NOT_A_FILE(...)
#define SKYRING_FILE_ROW(field, option, help) FileRow{&SessionFiles::field, option, help},
struct FileRow {
    std::string SessionFiles::*field;
    const char* option;
    const char* help;
};
const FileRow kFileRows[] = {SKYRING_OPTIONS(SKYRING_NOT_A_FILE, SKYRING_FILE_ROW)};
#undef SKYRING_NOT_A_FILE
#undef SKYRING_FILE_ROW

// "--scaling integer" is the option "--scaling" with the value "integer".
std::string OptionName(const char* option) { return std::string(option).substr(0, std::string(option).find(' ')); }
bool TakesValue(const char* option) { return std::strchr(option, ' ') != nullptr; }

std::string Padded(std::string text, size_t width) {
    text.resize(std::max(width, text.size() + 1), ' ');
    return text;
}

// One bracket a setting: "[--fullscreen | --window]", "[--scaling sharp|integer]", "[--mute]".
std::string UsageOf(const SettingRow& row) {
    if (TakesValue(row.options[0]) || TakesValue(row.options[1])) {
        return "[" + OptionName(row.options[1]) + " " + row.values[0] + "|" + row.values[1] + "]";
    }
    std::string choices;
    for (const char* option : row.options) {
        if (option[0] != '\0') choices += (choices.empty() ? "" : " | ") + std::string(option);
    }
    return "[" + choices + "]";
}

}  // namespace

std::string GameUsage(const ShellSettings& settings) {
    std::string usage = "usage: skyring";
    size_t lineLength = usage.size();
    const auto add = [&](const std::string& bracket) {
        if (lineLength + 1 + bracket.size() > 100) {
            usage += "\n              ";
            lineLength = 14;
        }
        usage += " " + bracket;
        lineLength += 1 + bracket.size();
    };
    for (const SettingRow& row : kSettingRows) add(UsageOf(row));
    for (const FileRow& row : kFileRows) add("[" + std::string(row.option) + " FILE]");
    usage += "\n       skyring --help | --version\n"
             "Free-fall parachuting: leave the aircraft, grip the other divers into a ring, land.\n";
    for (const SettingRow& row : kSettingRows) {
        for (int value = 0; value < 2; ++value) {
            if (row.options[value][0] != '\0') usage += "  " + Padded(row.options[value], 24) + row.help[value] + "\n";
        }
    }
    for (const FileRow& row : kFileRows) usage += "  " + Padded(std::string(row.option) + " FILE", 24) + row.help + "\n";
    usage += "--record and --play do not go together. Options last for this run; what you change in play\n"
             "is kept in settings.ini in " + std::string(kSettingsFolderShown) + ", where\n"
             "key.ACTION and pad.ACTION lines bind other keys and buttons (SDL's names).\n"
             "ACTION       keys                                   pad\n";
    for (const ActionRow& row : kActions) {
        const size_t a = static_cast<size_t>(row.action);
        usage += Padded(row.name, 12) + " " + Padded(KeyChordsText(settings.bindings.keys[a]), 38) + " " +
                 Padded(PadChordsText(settings.bindings.pads[a]), 16) + row.help + "\n";
    }
    usage += "The left stick does what the D-pad does.\n";
    return usage;
}

int ParseGameCommandLine(int argc, char** argv, const ShellSettings& settings, GameOptions* options) {
    const std::string usage = GameUsage(settings);
    std::vector<CommandLine::Option> accepted;
    for (size_t r = 0; r < kSettingRows.size(); ++r) {
        const SettingRow& row = kSettingRows[r];
        std::optional<bool>* chosen = &options->settings[r];
        if (TakesValue(row.options[0]) || TakesValue(row.options[1])) {
            const std::string name = OptionName(TakesValue(row.options[1]) ? row.options[1] : row.options[0]);
            accepted.push_back({name, [row, chosen, name, usage](const char* value, std::string* error) {
                                    for (bool on : {false, true}) {
                                        if (std::strcmp(value, row.values[on ? 1 : 0]) != 0) continue;
                                        *chosen = on;
                                        return true;
                                    }
                                    *error = name + " is " + row.values[0] + " or " + row.values[1] + ", not '" +
                                             Excerpt(value) + "'\n" + usage;
                                    return false;
                                }});
            continue;
        }
        for (bool on : {false, true}) {
            if (row.options[on ? 1 : 0][0] == '\0') continue;
            accepted.push_back({row.options[on ? 1 : 0], [chosen, on](const char*, std::string*) {
                                    *chosen = on;
                                    return true;
                                },
                                false});
        }
    }
    for (const FileRow& row : kFileRows) accepted.push_back(NameOption(row.option, &(options->files.*row.field)));
    const CommandLine line{"skyring", usage, "skyring " SKYRING_VERSION "\n", accepted};
    if (const int status = ParseCommandLine(line, argc, argv); status >= 0) return status;
    if (!options->files.record.empty() && !options->files.play.empty()) {
        return Fail("skyring", "--record and --play cannot go together\n" + usage);
    }
    return -1;
}

ShellSettings ApplyOptions(const GameOptions& options, ShellSettings fromFile) {
    for (size_t r = 0; r < kSettingRows.size(); ++r) {
        if (options.settings[r]) fromFile.*kSettingRows[r].field = *options.settings[r];
    }
    return fromFile;
}
