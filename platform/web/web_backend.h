#pragma once
// Shared inside the web backend only. The browser's side of each service is in library_web.js.
#include <cstdint>

#include "platform/display.h"
#include "platform/window.h"

// library_web.js
extern "C" {
void WebSleep(uint32_t ms);
void WebWake();
// Where the picture may go, in device pixels: the page's choice (the screen inside its safe
// areas, or the part of it above the touch controls).
void WebScreenArea(int* x, int* y, int* width, int* height);
void WebScreenLayout(int factor, int x, int y, int w, int h);
void WebScreenShow(const uint8_t* indices, const PALETTEENTRY* palette, bool paused, bool fresh);
int WebAudioOpen();
void WebAudioClose();
// Paused or hidden, the sound output stops where it is; it goes on when the game does.
void WebAudioHold(bool hold);
int WebDocumentHasFocus();
void WebToggleFullscreen();
void WebGameEnded(int status);
// Downloads a 640 x 480 page of palette indices in the palette's colours as a PNG.
void WebPictureSave(const uint8_t* indices, const PALETTEENTRY* palette);
// The page shows the sound's mute and the pause on its touch controls.
int WebStoredMute();
void WebStoreMute(int muted);
void WebShowHeld(int held);
// The page's touch controls named in the order WebControl numbers them, the fingers on them
// followed from now on; null: no longer.
void WebControlsOpen(const char* const* names, int count);
// A pad's button was pressed: the touch controls step aside until the next touch.
void WebPadPressed();
}

// True while the page has the keyboard focus.
bool WebWindowIsActive();
// Shows the page the last flip made visible, if it is not shown yet: called as the frame's
// wait begins.
void WebShowFlippedPage();
// Shows the visible page again (paused, resized).
void WebRepresent();

// The touch controls report to the player's shell while the window listens.
void WebControlsListen(bool on);

// Game controllers through the browser's Gamepad API, read at every pump.
void WebGamepadsPoll();
void WebGamepadsClose();
