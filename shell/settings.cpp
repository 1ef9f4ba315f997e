#include "shell/settings.h"

#include <algorithm>

#include "files/read_file.h"

#define SKYRING_SETTING_ROW(field, key, off, on, byDefault, offOption, onOption, offHelp, onHelp) \
    SettingRow{&ShellSettings::field, key, {off, on}, {offOption, onOption}, {offHelp, onHelp}},
#define SKYRING_NOT_A_SETTING(...)
const std::vector<SettingRow> kSettingRows = {SKYRING_OPTIONS(SKYRING_SETTING_ROW, SKYRING_NOT_A_SETTING)};
#undef SKYRING_SETTING_ROW
#undef SKYRING_NOT_A_SETTING

namespace {

constexpr size_t kLongestLine = 1024;
constexpr char kFirstLine[] = "# Skyring's settings; the game rewrites a line when you change it in play.\n";

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The lines of the file that bound an action's keys and pad buttons, 0 for the defaults.
struct BindingLines {
    int keys[kActionCount] = {};
    int pads[kActionCount] = {};
};

// One "name = value" line into the settings; "" when taken, else what is wrong with it.
std::string TakeLine(const std::string& line, int number, ShellSettings* settings, BindingLines* lines) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return "'" + Excerpt(line) + "' is no \"name = value\" line";
    const std::string name = Trim(line.substr(0, equals)), value = Trim(line.substr(equals + 1));
    for (const SettingRow& row : kSettingRows) {
        if (name != row.key) continue;
        if (value != row.values[0] && value != row.values[1]) {
            return name + " is " + row.values[0] + " or " + row.values[1] + ", not '" + Excerpt(value) + "'";
        }
        settings->*row.field = value == row.values[1];
        return "";
    }
    for (const ActionRow& row : kActions) {
        const size_t a = static_cast<size_t>(row.action);
        std::string wrong;
        if (name == std::string("key.") + row.name) {
            if (!ParseKeyChords(value, &settings->bindings.keys[a], &wrong)) return Excerpt(wrong);
            lines->keys[a] = number;
            return "";
        }
        if (name == std::string("pad.") + row.name) {
            if (!ParsePadChords(value, &settings->bindings.pads[a], &wrong)) return Excerpt(wrong);
            lines->pads[a] = number;
            return "";
        }
    }
    return "no setting is called '" + Excerpt(name) + "'";
}

// A key or button bound to two actions: the later of the file's lines that did it gives way
// to its action's defaults, until no chord does two things.
void UndoDoubleBindings(ShellSettings* settings, BindingLines* lines, const std::string& name,
                        std::vector<std::string>* warnings) {
    const Bindings defaults = DefaultBindings();
    Action first = Action::Count, second = Action::Count;
    std::string chord;
    bool keys = false;
    while (FindDoubleBinding(settings->bindings, &first, &second, &chord, &keys)) {
        int* line = keys ? lines->keys : lines->pads;
        const size_t a = static_cast<size_t>(first), b = static_cast<size_t>(second);
        const size_t undone = line[a] > line[b] ? a : b;
        if (line[undone] == 0) return;  // the defaults never bind a chord twice
        warnings->push_back(name + ":" + std::to_string(line[undone]) + ": " + chord + " is bound to " +
                            kActions[a].name + " and " + kActions[b].name + "; ignored");
        if (keys) {
            settings->bindings.keys[undone] = defaults.keys[undone];
        } else {
            settings->bindings.pads[undone] = defaults.pads[undone];
        }
        line[undone] = 0;
    }
}

}  // namespace

ShellSettings ParseSettings(const std::string& text, const std::string& name, std::vector<std::string>* warnings) {
    ShellSettings settings;
    BindingLines lines;
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
            if (const std::string wrong = TakeLine(line, number, &settings, &lines); !wrong.empty()) warn(wrong);
        }
        start = end + 1;
    }
    UndoDoubleBindings(&settings, &lines, name, warnings);
    return settings;
}

std::string SettingsText(const ShellSettings& settings) {
    std::string text = kFirstLine;
    for (const SettingRow& row : kSettingRows) {
        text += std::string(row.key) + " = " + row.values[settings.*row.field ? 1 : 0] + "\n";
    }
    const Bindings defaults = DefaultBindings();
    for (const ActionRow& row : kActions) {
        const size_t a = static_cast<size_t>(row.action);
        const std::string keys = KeyChordsText(settings.bindings.keys[a]), pads = PadChordsText(settings.bindings.pads[a]);
        if (keys != KeyChordsText(defaults.keys[a])) text += std::string("key.") + row.name + " = " + keys + "\n";
        if (pads != PadChordsText(defaults.pads[a])) text += std::string("pad.") + row.name + " = " + pads + "\n";
    }
    return text;
}

std::string ChangeSetting(const std::string& text, const std::string& key, const std::string& value) {
    size_t last = std::string::npos, lastEnd = 0;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        const size_t equals = line.find('=');
        if (equals != std::string::npos && Trim(line.substr(0, equals)) == key) {
            last = start;
            lastEnd = end;
        }
        start = end + 1;
    }
    const std::string set = key + " = " + value;
    if (last != std::string::npos) return text.substr(0, last) + set + text.substr(lastEnd);
    if (text.empty()) return kFirstLine + set + "\n";
    return text + (text.back() == '\n' ? "" : "\n") + set + "\n";
}
