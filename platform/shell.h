#pragma once
// The player's shell around the game: window or full screen, scaling, pause, mute, pictures
// of the screen and the player's input for recordings. The
// game's rules never see any of it; with the defaults the program behaves as it always has.
#include <cstdint>

#include "platform/display.h"

enum class Scaling {
    Sharp,    // the largest 4:3 rectangle: crisp whole-factor pixels, a soft edge where they meet
    Integer,  // whole multiples of the page only, with wider bars
};

struct ShellSettings {
    bool windowed = false;
    bool muted = false;
    Scaling scaling = Scaling::Sharp;
    bool pauseOnFocusLoss = false;
};

// What the app shell asks of the platform for one run; given before the window is made.
struct ShellRun {
    ShellSettings settings;
    // False while a recording plays: of the player's input only Escape and close requests
    // reach the game (pause, mute and the window keys still work).
    bool playerSteers = true;
    // Each may be null. A setting the player changed in play (Alt+Enter, F11, M), with the
    // settings after it.
    void (*settingsChanged)(const ShellSettings& now) = nullptr;
    // The player asked for a picture of the page on the screen (F12).
    void (*pictureWanted)(const uint8_t* page, const PALETTEENTRY palette[256]) = nullptr;
    // A message from the player (key, focus change, close request) as the game receives it.
    void (*playerMessage)(uint32_t message, uintptr_t wParam) = nullptr;
};

void ShellConfigure(const ShellRun& run);
