#pragma once
// The player's shell: what the player does, from any backend (keys, pad buttons, touches),
// becomes the player's actions, and their policy lives here once for every way to play. Turning,
// diving, letting go and quitting reach the game as the keys it knows; pause holds the game,
// its clock and its sound; Escape and a close request end a pause; the focus may pause it;
// what a recording keeps and which change is saved are decided here. The game's rules never
// see any of it.
#include <cstdint>

#include "platform/display.h"
#include "shell/bindings.h"
#include "shell/settings.h"

// What the app asks of the shell for one run; given before the window is made.
struct ShellRun {
    ShellSettings settings;
    // False while a recording plays: of the player's input only quitting and close requests
    // reach the game (pause, mute, the window and pictures still work).
    bool playerSteers = true;
    // Each may be null. A setting the player changed in play (the key and its new value), for
    // the settings file.
    void (*settingChanged)(const char* key, const char* value) = nullptr;
    // The player asked for a picture of the page on the screen.
    void (*pictureWanted)(const uint8_t* page, const PALETTEENTRY palette[256]) = nullptr;
    // A message from the player as the game receives it, for recordings.
    void (*playerMessage)(uint32_t message, uintptr_t wParam) = nullptr;
};

// Takes the player's input from the platform from now on, with these settings and bindings.
void ShellStart(const ShellRun& run);
// An action pressed or let go of by a source of the player's own (a key, a button, a finger):
// several sources may hold one action; it is let go of when the last lets go.
void ShellPress(Action action, uint32_t source, bool repeat = false);
void ShellRelease(uint32_t source);
