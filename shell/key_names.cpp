#include "shell/key_names.h"

#include <cctype>

#include "platform/window.h"

bool SameName(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    }
    return i == a.size() && b[i] == '\0';
}

namespace {

struct NamedKey {
    uint32_t key;
    const char* name;
};

// Keys beyond letters and digits, each as SDL names it: the game's own, then 256 + the USB
// usage (SDL's scancode) of every other key a desktop keyboard has.
constexpr NamedKey kKeys[] = {
    {VK_ESCAPE, "Escape"}, {VK_LEFT, "Left"}, {VK_UP, "Up"}, {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},
    {13, "Return"}, {32, "Space"},
    {256 + 42, "Backspace"}, {256 + 43, "Tab"}, {256 + 45, "-"}, {256 + 46, "="}, {256 + 47, "["},
    {256 + 48, "]"}, {256 + 49, "\\"}, {256 + 51, ";"}, {256 + 52, "'"}, {256 + 53, "`"}, {256 + 54, ","},
    {256 + 55, "."}, {256 + 56, "/"}, {256 + 57, "CapsLock"}, {256 + 58, "F1"}, {256 + 59, "F2"},
    {256 + 60, "F3"}, {256 + 61, "F4"}, {256 + 62, "F5"}, {256 + 63, "F6"}, {256 + 64, "F7"}, {256 + 65, "F8"},
    {256 + 66, "F9"}, {256 + 67, "F10"}, {256 + 68, "F11"}, {256 + 69, "F12"}, {256 + 70, "PrintScreen"},
    {256 + 71, "ScrollLock"}, {256 + 72, "Pause"}, {256 + 73, "Insert"}, {256 + 74, "Home"}, {256 + 75, "PageUp"},
    {256 + 76, "Delete"}, {256 + 77, "End"}, {256 + 78, "PageDown"}, {256 + 83, "Numlock"},
    {256 + 84, "Keypad /"}, {256 + 85, "Keypad *"}, {256 + 86, "Keypad -"}, {256 + 87, "Keypad +"},
    {256 + 88, "Keypad Enter"}, {256 + 89, "Keypad 1"}, {256 + 90, "Keypad 2"}, {256 + 91, "Keypad 3"},
    {256 + 92, "Keypad 4"}, {256 + 93, "Keypad 5"}, {256 + 94, "Keypad 6"}, {256 + 95, "Keypad 7"},
    {256 + 96, "Keypad 8"}, {256 + 97, "Keypad 9"}, {256 + 98, "Keypad 0"}, {256 + 99, "Keypad ."},
    {256 + 101, "Application"}, {256 + 103, "Keypad ="}, {256 + 224, "Left Ctrl"}, {256 + 225, "Left Shift"},
    {256 + 226, "Left Alt"}, {256 + 227, "Left GUI"}, {256 + 228, "Right Ctrl"}, {256 + 229, "Right Shift"},
    {256 + 230, "Right Alt"}, {256 + 231, "Right GUI"},
};

constexpr const char* kPadButtons[] = {"a",         "b",          "x",          "y",           "back",
                                       "guide",     "start",      "leftstick",  "rightstick",  "leftshoulder",
                                       "rightshoulder", "dpup",   "dpdown",     "dpleft",      "dpright",
                                       "misc1",     "paddle1",    "paddle2",    "paddle3",     "paddle4",
                                       "touchpad"};
static_assert(sizeof kPadButtons / sizeof kPadButtons[0] == static_cast<size_t>(PadButton::Count), "a name a button");

}  // namespace

bool KeyOfName(const std::string& name, uint32_t* key) {
    if (name.size() == 1) {
        const char c = name[0];
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            *key = static_cast<uint32_t>(c);
            return true;
        }
        if (c >= 'a' && c <= 'z') {
            *key = static_cast<uint32_t>(c - 'a' + 'A');
            return true;
        }
    }
    for (const NamedKey& named : kKeys) {
        if (SameName(name, named.name)) {
            *key = named.key;
            return true;
        }
    }
    return false;
}

std::string NameOfKey(uint32_t key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
    for (const NamedKey& named : kKeys) {
        if (named.key == key) return named.name;
    }
    return "";
}

bool PadButtonOfName(const std::string& name, PadButton* button) {
    for (size_t i = 0; i < static_cast<size_t>(PadButton::Count); ++i) {
        if (SameName(name, kPadButtons[i])) {
            *button = static_cast<PadButton>(i);
            return true;
        }
    }
    return false;
}

const char* NameOfPadButton(PadButton button) {
    return button < PadButton::Count ? kPadButtons[static_cast<size_t>(button)] : "";
}
