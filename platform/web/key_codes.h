#pragma once
// Browser keys as the game's virtual-key codes, the same codes the desktop backend gives.
#include <cstdint>

// `code` is the key's physical name (KeyboardEvent.code), `keyCode` its legacy code, which
// follows the keyboard's layout for letters. Arrows, Escape, Enter, Space, letters and digits
// get their own codes; every other key 256 + its USB usage, as the desktop gives 256 + SDL's
// scancode (0 when unknown).
uint32_t VirtualKeyOf(const char* code, unsigned long keyCode);
// Keys whose browser default (scrolling the page) must not happen while the game plays.
bool KeyScrollsPage(const char* code);
