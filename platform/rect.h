#pragma once
#include <cstdint>

// A rectangle of pixels: left and top inclusive, right and bottom exclusive.
struct RECT {
    int32_t left, top, right, bottom;
};
