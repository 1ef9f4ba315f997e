#include "shell/bindings.h"

#include "shell/key_names.h"

// The game's own keys and pad, as they always were.
const ActionRow kActions[kActionCount] = {
    {Action::TurnLeft, "turn-left", "Left", "dpleft", "turn left"},
    {Action::TurnRight, "turn-right", "Right", "dpright", "turn right"},
    {Action::Dive, "dive", "Down", "dpdown, a", "dive head first (sink faster, slow down)"},
    {Action::LetGo, "let-go", "Up", "dpup, b", "let go of the formation"},
    {Action::Pause, "pause", "P, Pause", "start", "pause and resume"},
    {Action::Mute, "mute", "M", "", "sound off and on"},
    {Action::WindowMode, "window", "Alt+Return, Alt+Keypad Enter, F11", "", "window or full screen"},
    {Action::Picture, "picture", "F12", "", "save a picture of the screen"},
    {Action::Quit, "quit", "Escape, Alt+F4", "back+start", "quit"},
};

namespace {

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The comma-separated names of a list, trimmed; none for an empty text.
std::vector<std::string> Names(const std::string& text) {
    std::vector<std::string> names;
    if (Trim(text).empty()) return names;
    for (size_t start = 0;;) {
        const size_t comma = text.find(',', start);
        names.push_back(Trim(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) return names;
        start = comma + 1;
    }
}

bool SameKeyChord(const KeyChord& a, const KeyChord& b) { return a.key == b.key && a.alt == b.alt; }
// A chord is the same whichever of its buttons comes second.
bool SamePadChord(const PadChord& a, const PadChord& b) {
    return (a.button == b.button && a.with == b.with) || (a.with != PadButton::Count && a.button == b.with && a.with == b.button);
}

std::string KeyChordText(const KeyChord& chord) { return (chord.alt ? "Alt+" : "") + NameOfKey(chord.key); }

std::string PadChordText(const PadChord& chord) {
    return chord.with == PadButton::Count ? NameOfPadButton(chord.button)
                                          : std::string(NameOfPadButton(chord.with)) + "+" + NameOfPadButton(chord.button);
}

}  // namespace

Bindings DefaultBindings() {
    Bindings bindings;
    std::string ignored;
    for (const ActionRow& row : kActions) {
        const size_t a = static_cast<size_t>(row.action);
        ParseKeyChords(row.keys, &bindings.keys[a], &ignored);
        ParsePadChords(row.pad, &bindings.pads[a], &ignored);
    }
    return bindings;
}

bool ParseKeyChords(const std::string& text, std::vector<KeyChord>* chords, std::string* error) {
    std::vector<KeyChord> parsed;
    for (std::string name : Names(text)) {
        KeyChord chord{0, false};
        // "Alt+" ahead of a name, in any case.
        if (name.size() > 4 && SameName(name.substr(0, 4), "Alt+")) {
            chord.alt = true;
            name = Trim(name.substr(4));
        }
        if (!KeyOfName(name, &chord.key)) {
            *error = "no key is called '" + name + "'";
            return false;
        }
        parsed.push_back(chord);
    }
    *chords = parsed;
    return true;
}

bool ParsePadChords(const std::string& text, std::vector<PadChord>* chords, std::string* error) {
    std::vector<PadChord> parsed;
    for (const std::string& name : Names(text)) {
        PadChord chord{PadButton::Count, PadButton::Count};
        const size_t plus = name.find('+');
        const std::string first = Trim(name.substr(0, plus));
        const bool known = plus == std::string::npos
                               ? PadButtonOfName(first, &chord.button)
                               : PadButtonOfName(first, &chord.with) && PadButtonOfName(Trim(name.substr(plus + 1)), &chord.button) &&
                                     chord.with != chord.button;
        if (!known) {
            *error = "no pad button is called '" + name + "'";
            return false;
        }
        parsed.push_back(chord);
    }
    *chords = parsed;
    return true;
}

std::string KeyChordsText(const std::vector<KeyChord>& chords) {
    std::string text;
    for (const KeyChord& chord : chords) text += (text.empty() ? "" : ", ") + KeyChordText(chord);
    return text;
}

std::string PadChordsText(const std::vector<PadChord>& chords) {
    std::string text;
    for (const PadChord& chord : chords) text += (text.empty() ? "" : ", ") + PadChordText(chord);
    return text;
}

bool ActionOfKey(const Bindings& bindings, uint32_t key, bool alt, Action* action) {
    for (const bool withAlt : {true, false}) {
        if (withAlt && !alt) continue;
        for (size_t a = 0; a < kActionCount; ++a) {
            for (const KeyChord& chord : bindings.keys[a]) {
                if (SameKeyChord(chord, KeyChord{key, withAlt})) {
                    *action = static_cast<Action>(a);
                    return true;
                }
            }
        }
    }
    return false;
}

bool ActionOfPadButton(const Bindings& bindings, PadButton button, PadButton held, Action* action) {
    for (size_t a = 0; a < kActionCount; ++a) {
        for (const PadChord& chord : bindings.pads[a]) {
            if (SamePadChord(chord, PadChord{button, held})) {
                *action = static_cast<Action>(a);
                return true;
            }
        }
    }
    return false;
}

bool FindDoubleBinding(const Bindings& bindings, Action* first, Action* second, std::string* chord, bool* keys) {
    for (size_t a = 0; a < kActionCount; ++a) {
        for (size_t b = a + 1; b < kActionCount; ++b) {
            *first = static_cast<Action>(a);
            *second = static_cast<Action>(b);
            for (const KeyChord& k : bindings.keys[b]) {
                for (const KeyChord& other : bindings.keys[a]) {
                    if (!SameKeyChord(k, other)) continue;
                    *chord = KeyChordText(k);
                    *keys = true;
                    return true;
                }
            }
            for (const PadChord& p : bindings.pads[b]) {
                for (const PadChord& other : bindings.pads[a]) {
                    if (!SamePadChord(p, other)) continue;
                    *chord = PadChordText(p);
                    *keys = false;
                    return true;
                }
            }
        }
    }
    return false;
}
