#pragma once
// What the web program's entry asks of the page around the game.

// Tells the page that the game ended with `status` (0: the player quit; 1: it could not start)
// and sleeps until the player asks to play again.
void WebAwaitPlayAgain(int status);
