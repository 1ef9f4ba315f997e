#pragma once
// Pictures of the screen (F12): the page as the game drew it, in its own colours, as a PNG in
// the player's pictures folder, named with the date and time; never over an earlier one.
#include <cstdint>

#include "platform/display.h"

void SavePicture(const uint8_t* page, const PALETTEENTRY palette[256]);
