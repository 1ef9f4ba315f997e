#pragma once
// Shared inside the web backend only. The browser's side of each service is in library_web.js.
#include <cstdint>

#include "platform/display.h"
#include "platform/window.h"

// library_web.js
extern "C" {
void WebSleep(uint32_t ms);
void WebWake();
void WebScreenSize(int* width, int* height);
void WebScreenLayout(int factor, int x, int y, int w, int h);
void WebScreenShow(const uint8_t* indices, const PALETTEENTRY* palette, bool paused, bool fresh);
int WebAudioOpen();
void WebAudioClose();
// Paused or hidden, the sound output stops where it is; it goes on when the game does.
void WebAudioHold(bool hold);
int WebDocumentHasFocus();
void WebToggleFullscreen();
void WebGameEnded(int status);
int WebStoredMute();
void WebStoreMute(int muted);
}

// True while the page has the keyboard focus.
bool WebWindowIsActive();
// Shows the page the last flip made visible, if it is not shown yet: called as the frame's
// wait begins.
void WebShowFlippedPage();
// Shows the visible page again (paused, resized).
void WebRepresent();

// Game controllers through the browser's Gamepad API, read at every pump.
void WebGamepadsPoll();
void WebGamepadsClose();
