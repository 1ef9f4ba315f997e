#pragma once
// A stand-in for the drawing library that remembers every call instead of drawing.
#include <cstdint>
#include <vector>

#include "platform/rect.h"

struct DrawCall {
    bool clear;  // ClearScreen; otherwise PutBitmap
    int32_t x, y;
    RECT source;
};

std::vector<DrawCall>& DrawCalls();

bool SameRect(const RECT& a, const RECT& b);
// The PutBitmap calls of one picture, in order.
std::vector<DrawCall> CallsOf(const RECT& picture);
// Whether a picture would fit on the 640 x 480 screen, as PutBitmap decides.
bool Fits(const DrawCall& call);
