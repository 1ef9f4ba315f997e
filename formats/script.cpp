#include "formats/script.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "platform/window.h"
#include "files/read_file.h"

namespace {

bool ParseNumber(const std::string& word, int64_t max, int64_t* value) {
    if (word.empty() || word.size() > 12 || word.find_first_not_of("0123456789") != std::string::npos) return false;
    *value = std::strtoll(word.c_str(), nullptr, 10);
    return *value <= max;
}

const struct {
    const char* name;
    uint32_t code;
} kKeyNames[] = {{"left", VK_LEFT}, {"right", VK_RIGHT}, {"up", VK_UP}, {"down", VK_DOWN}, {"escape", VK_ESCAPE}};

bool ParseKey(const std::string& word, uint32_t* key) {
    for (const auto& named : kKeyNames) {
        if (word == named.name) {
            *key = named.code;
            return true;
        }
    }
    int64_t code = 0;
    if (!ParseNumber(word, 0xFFFF, &code)) return false;
    *key = static_cast<uint32_t>(code);
    return true;
}

// The words of a line, between blanks as the C locale has them.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    const auto blank = [&](size_t at) { return std::isspace(static_cast<unsigned char>(line[at])) != 0; };
    for (size_t at = 0; at < line.size();) {
        while (at < line.size() && blank(at)) ++at;
        const size_t start = at;
        while (at < line.size() && !blank(at)) ++at;
        if (at > start) words.push_back(line.substr(start, at - start));
    }
    return words;
}

}  // namespace

bool ParseScript(const std::string& text, const std::string& name, std::vector<ScriptEvent>* events, std::string* error) {
    int64_t lastFrame = 0;
    size_t next = 0;
    for (int number = 1; next < text.size(); ++number) {
        const size_t end = std::min(text.find('\n', next), text.size());
        std::string line = text.substr(next, std::min(end - next, kMaxScriptLine + 1));
        next = end + 1;
        auto fail = [&](const std::string& what) {
            *error = name + ":" + std::to_string(number) + ": " + what;
            return false;
        };
        if (line.size() > kMaxScriptLine) {
            line.pop_back();
            return fail("line longer than " + std::to_string(kMaxScriptLine) + " bytes: '" + Excerpt(line) + "'");
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> w = Words(line);
        if (w.empty() || w[0][0] == '#') continue;

        ScriptEvent event{0, ScriptAction::Close, 0};
        if (!ParseNumber(w[0], INT32_MAX, &event.frame)) {
            return fail("frame must be a number 0..2147483647: '" + Excerpt(w[0]) + "'");
        }
        if (event.frame < lastFrame) return fail("frames must not go backwards");
        lastFrame = event.frame;
        if (w.size() < 2) return fail("missing action (down, up, activate, deactivate, close)");
        const std::string& action = w[1];
        const bool keyed = action == "down" || action == "up";
        if (keyed) {
            event.action = action == "down" ? ScriptAction::KeyDown : ScriptAction::KeyUp;
            if (w.size() < 3) return fail("missing key after '" + action + "'");
            if (!ParseKey(w[2], &event.key)) {
                return fail("unknown key '" + Excerpt(w[2]) + "' (left, right, up, down, escape or a code 0..65535)");
            }
        } else if (action == "activate") {
            event.action = ScriptAction::Activate;
        } else if (action == "deactivate") {
            event.action = ScriptAction::Deactivate;
        } else if (action == "close") {
            event.action = ScriptAction::Close;
        } else {
            return fail("unknown action '" + Excerpt(action) + "'");
        }
        if (w.size() > (keyed ? 3u : 2u)) return fail("unexpected text after the event");
        events->push_back(event);
    }
    return true;
}

bool ReadScriptFile(const std::string& path, std::vector<ScriptEvent>* events, std::string* error) {
    std::string text;
    return ReadWholeFile(path, kMaxScriptBytes, &text, error) && ParseScript(text, path, events, error);
}

void PostScriptEvent(WindowHandle window, const ScriptEvent& event) {
    switch (event.action) {
        case ScriptAction::KeyDown: MessagePost(window, WM_KEYDOWN, event.key, 0); break;
        case ScriptAction::KeyUp: MessagePost(window, WM_KEYUP, event.key, 0); break;
        case ScriptAction::Activate: MessagePost(window, WM_ACTIVATEAPP, 1, 0); break;
        case ScriptAction::Deactivate: MessagePost(window, WM_ACTIVATEAPP, 0, 0); break;
        case ScriptAction::Close: MessagePost(window, WM_CLOSE, 0, 0); break;
    }
}

bool ScriptEventOf(uint32_t message, uintptr_t wParam, int64_t frame, ScriptEvent* event) {
    switch (message) {
        case WM_KEYDOWN: *event = {frame, ScriptAction::KeyDown, static_cast<uint32_t>(wParam)}; break;
        case WM_KEYUP: *event = {frame, ScriptAction::KeyUp, static_cast<uint32_t>(wParam)}; break;
        case WM_ACTIVATEAPP: *event = {frame, wParam != 0 ? ScriptAction::Activate : ScriptAction::Deactivate, 0}; break;
        case WM_CLOSE: *event = {frame, ScriptAction::Close, 0}; break;
        default: return false;
    }
    return message == WM_CLOSE || message == WM_ACTIVATEAPP || wParam <= 0xFFFF;
}

std::string ScriptLine(const ScriptEvent& event) {
    std::string line = std::to_string(event.frame);
    switch (event.action) {
        case ScriptAction::KeyDown:
        case ScriptAction::KeyUp: {
            line += event.action == ScriptAction::KeyDown ? " down " : " up ";
            std::string key = std::to_string(event.key);
            for (const auto& named : kKeyNames) {
                if (named.code == event.key) key = named.name;
            }
            line += key;
            break;
        }
        case ScriptAction::Activate: line += " activate"; break;
        case ScriptAction::Deactivate: line += " deactivate"; break;
        case ScriptAction::Close: line += " close"; break;
    }
    return line + "\n";
}
