#pragma once
// Every option of the game, one line each. The settings file, the command line, --help and the
// README's table of options all come from here.
//
//   SWITCH(field, key, off, on, byDefault, offOption, onOption, offHelp, onHelp)
//     a setting the player keeps: `key = off|on` in settings.ini, the field in ShellSettings
//     (true for `on`), and the command-line options that choose each value ("" for none; an
//     option that takes the value is written with it: "--scaling integer").
//   FILE(field, option, help)
//     a file one run names on the command line, the field in SessionFiles.
#define SKYRING_OPTIONS(SWITCH, FILE)                                                                             \
    SWITCH(windowed, "display", "fullscreen", "window", false, "--fullscreen", "--window",                        \
           "play on the whole screen (the default)",                                                              \
           "play in a window: the largest whole multiple of 640x480 that fits in about 85 % of the desktop, "     \
           "resizable")                                                                                           \
    SWITCH(muted, "mute", "off", "on", false, "", "--mute", "", "start with the sound off")                       \
    SWITCH(integerScaling, "scaling", "sharp", "integer", false, "--scaling sharp", "--scaling integer",          \
           "fill the screen's largest 4:3 rectangle: crisp pixels, a soft edge where they meet (the default)",    \
           "whole multiples of 640x480 only, with wider black bars")                                              \
    SWITCH(pauseOnFocusLoss, "pause-on-focus-loss", "off", "on", false, "", "--pause-on-focus-loss", "",          \
           "pause while another window has the focus, and go on when it comes back")                             \
    FILE(record, "--record", "write what you do as a recording that --play and skyring-replay read")             \
    FILE(play, "--play", "play a recording on the screen at real speed; your arrows are ignored, Escape ends it") \
    FILE(trace, "--trace", "write one JSON line per frame, as skyring-replay --trace does")
