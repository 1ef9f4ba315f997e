#pragma once
// The page's games: each is recorded as the desktop records one, and a jump given to the page (a
// link's, a dropped file's) plays back instead of the next game, as `skyring --play` plays a
// recording. The page reaches it through the exports in page_session.cpp: it gives a jump, asks
// whether one waits, and takes the recording of the game under way or just ended (the player's
// own, or the jump watched) as its text or as a link.
#include <cstdint>

#include "app/game.h"

// Before each run: true when it plays a jump back (the player does not steer it then).
bool PageSessionBegin();
// For RunGame and the player's shell.
GameHooks PageSessionHooks();
void PageSessionPlayerMessage(uint32_t message, uintptr_t wParam);
