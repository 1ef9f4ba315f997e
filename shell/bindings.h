#pragma once
// The player's actions (platform/player.h) and the keys and pad buttons that do them: one table,
// whose bindings are the defaults that the settings file may change ("key.dive = Down, S", "pad.dive = a").
#include <cstdint>
#include <string>
#include <vector>

#include "platform/player.h"

constexpr size_t kActionCount = static_cast<size_t>(Action::Count);

// A key, with Alt held or not ("Alt+Return").
struct KeyChord {
    uint32_t key;
    bool alt;
};
// A pad button, alone or while another is held ("back+start": `with` is Back).
struct PadChord {
    PadButton button;
    PadButton with;  // Count: alone
};

struct Bindings {
    std::vector<KeyChord> keys[kActionCount];
    std::vector<PadChord> pads[kActionCount];
};

// One line of the table a action.
struct ActionRow {
    Action action;
    const char* name;  // in the settings file: key.NAME and pad.NAME
    const char* keys;  // the default keys, as the settings file writes them
    const char* pad;   // the default pad buttons
    const char* help;
};
extern const ActionRow kActions[kActionCount];

Bindings DefaultBindings();

// "Down, S" or "Alt+Return, F11": false, with what is wrong, for a name SDL does not give a
// key; an empty text binds no key.
bool ParseKeyChords(const std::string& text, std::vector<KeyChord>* chords, std::string* error);
bool ParsePadChords(const std::string& text, std::vector<PadChord>* chords, std::string* error);
std::string KeyChordsText(const std::vector<KeyChord>& chords);
std::string PadChordsText(const std::vector<PadChord>& chords);

// The action a key does (an Alt binding first while Alt is held, then the key's own); false
// for a key bound to nothing.
bool ActionOfKey(const Bindings& bindings, uint32_t key, bool alt, Action* action);
// The action a pad button does alone (`held` Count), or with `held` held, in either order.
bool ActionOfPadButton(const Bindings& bindings, PadButton button, PadButton held, Action* action);
// A key chord (`keys`) or a pad chord bound to two actions: the two of them and the chord's
// text; false when there is none.
bool FindDoubleBinding(const Bindings& bindings, Action* first, Action* second, std::string* chord, bool* keys);
