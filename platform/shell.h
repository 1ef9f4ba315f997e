#pragma once
// The player's shell around the game: window or full screen, scaling, pause and mute. The
// game's rules never see any of it; with the defaults the program behaves as it always has.

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

// What this run starts with; given before the window is made. `changed` (may be null) hears of
// every setting the player changes in play (Alt+Enter, F11, M), with the settings after it.
void ShellConfigure(const ShellSettings& settings, void (*changed)(const ShellSettings& now));
