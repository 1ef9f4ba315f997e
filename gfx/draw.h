#pragma once
// The three drawing operations every picture is made of.
#include <cstdint>

#include "platform/rect.h"

// Copies a sheet rectangle to (x, y) of the back buffer, index 0 transparent. A picture that
// does not lie wholly on the 640 x 480 screen is not drawn, and a line is written.
void PutBitmap(int32_t x, int32_t y, const RECT* source);
// The whole back buffer becomes index 0.
void ClearScreen();
// Shows the back buffer; the pages swap.
void Flip();
