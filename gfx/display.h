#pragma once
// The display set-up: the device, the flipping pair, the palette and the sheet surface.
#include <cstdint>

#include "platform/display.h"

struct DisplayHandles {
    DisplayDevice device;
    Surface primarySurface;
    Surface backBuffer;  // attached to the primary surface, never released by itself
    Palette paletteObject;
    Surface SheetSurface;
};

// Null before set-up and after release.
extern DisplayHandles Display;
// The colours the palette object is made from and refilled from; all black at start.
extern PALETTEENTRY PaletteEntries[256];

// 1 when everything is set up; on failure writes one line, releases what it made,
// destroys the window and returns 0.
int InitDirectDraw(WindowHandle window, int32_t width, int32_t height, int32_t sheetWidth, int32_t sheetHeight);
// Releases whatever is held, in reverse order of creation; a second call does nothing.
void ReleaseDirectDraw();
// Brings lost surfaces back, then shows a black page.
void RestoreDirectDraw();
