#pragma once
// What the web program's entry asks of the page around the game.
#include "platform/shell.h"

// The settings this browser keeps for the game (the sound's mute), or the defaults.
ShellSettings WebSavedSettings();
// Keeps a setting the player changed in play, for the next visit.
void WebKeepSettings(const ShellSettings& now);

// Tells the page that the game ended with `status` (0: the player quit; 1: it could not start)
// and sleeps until the player asks to play again.
void WebAwaitPlayAgain(int status);
