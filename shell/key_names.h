#pragma once
// The names of keys and pad buttons as SDL gives them ("Left", "Keypad Enter", "F11"; "a",
// "dpleft", "start"), for bindings in the settings file and for --help.
#include <cstdint>
#include <string>

#include "platform/player.h"

// Whether two names are the same, without regard to case.
bool SameName(const std::string& a, const char* b);

// The virtual-key code (platform/player.h) of a key's name, matched without regard to case;
// false for a name SDL does not give a key.
bool KeyOfName(const std::string& name, uint32_t* key);
// The name of a key, or "" for a code no key has.
std::string NameOfKey(uint32_t key);
// The same for pad buttons.
bool PadButtonOfName(const std::string& name, PadButton* button);
const char* NameOfPadButton(PadButton button);
