#pragma once
// What the web program's entry asks of the page around the game.
#include <cstdint>

#include "platform/display.h"

// Whether the player turned the sound off on an earlier visit: the one setting a browser keeps.
bool WebSavedMute();
void WebKeepMute(bool muted);

// Tells the page that the game ended with `status` (0: the player quit; 1: it could not start)
// and sleeps until the player asks to play again.
void WebAwaitPlayAgain(int status);

// A picture of the page on the screen (F12), in the game's own colours: the browser downloads it
// as a PNG named as the desktop names its pictures.
void WebSavePicture(const uint8_t* page, const PALETTEENTRY palette[256]);
