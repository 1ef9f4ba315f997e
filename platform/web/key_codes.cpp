#include "platform/web/key_codes.h"

#include <cstring>

#include "platform/window.h"

namespace {

struct Usage {
    const char* code;
    uint32_t usage;  // USB HID keyboard usage, which SDL's scancodes are
};

// Every key a desktop keyboard has beyond letters, digits and the game's keys.
constexpr Usage kUsages[] = {
    {"Backspace", 42}, {"Tab", 43}, {"Minus", 45}, {"Equal", 46}, {"BracketLeft", 47}, {"BracketRight", 48},
    {"Backslash", 49}, {"Semicolon", 51}, {"Quote", 52}, {"Backquote", 53}, {"Comma", 54}, {"Period", 55},
    {"Slash", 56}, {"CapsLock", 57}, {"F1", 58}, {"F2", 59}, {"F3", 60}, {"F4", 61}, {"F5", 62}, {"F6", 63},
    {"F7", 64}, {"F8", 65}, {"F9", 66}, {"F10", 67}, {"F11", 68}, {"F12", 69}, {"PrintScreen", 70},
    {"ScrollLock", 71}, {"Pause", 72}, {"Insert", 73}, {"Home", 74}, {"PageUp", 75}, {"Delete", 76},
    {"End", 77}, {"PageDown", 78}, {"NumLock", 83}, {"NumpadDivide", 84}, {"NumpadMultiply", 85},
    {"NumpadSubtract", 86}, {"NumpadAdd", 87}, {"NumpadEnter", 88}, {"Numpad1", 89}, {"Numpad2", 90},
    {"Numpad3", 91}, {"Numpad4", 92}, {"Numpad5", 93}, {"Numpad6", 94}, {"Numpad7", 95}, {"Numpad8", 96},
    {"Numpad9", 97}, {"Numpad0", 98}, {"NumpadDecimal", 99}, {"IntlBackslash", 100}, {"ContextMenu", 101},
    {"NumpadEqual", 103}, {"ControlLeft", 224}, {"ShiftLeft", 225}, {"AltLeft", 226}, {"MetaLeft", 227},
    {"ControlRight", 228}, {"ShiftRight", 229}, {"AltRight", 230}, {"MetaRight", 231},
};

}  // namespace

uint32_t VirtualKeyOf(const char* code, unsigned long keyCode) {
    static const struct {
        const char* code;
        uint32_t key;
    } kOwn[] = {{"Escape", VK_ESCAPE}, {"ArrowLeft", VK_LEFT}, {"ArrowUp", VK_UP}, {"ArrowRight", VK_RIGHT},
                {"ArrowDown", VK_DOWN}, {"Enter", 13}, {"Space", 32}};
    for (const auto& own : kOwn) {
        if (std::strcmp(code, own.code) == 0) return own.key;
    }
    // The numeric pad's digits have letters' legacy codes; they are keys of their own.
    for (const Usage& u : kUsages) {
        if (std::strcmp(code, u.code) == 0) return 256 + u.usage;
    }
    if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9')) return static_cast<uint32_t>(keyCode);
    return 256;
}

bool KeyScrollsPage(const char* code) {
    static const char* const kScrolling[] = {"ArrowLeft", "ArrowUp", "ArrowRight", "ArrowDown", "Space",
                                             "PageUp",    "PageDown", "Home",      "End"};
    for (const char* key : kScrolling) {
        if (std::strcmp(code, key) == 0) return true;
    }
    return false;
}
