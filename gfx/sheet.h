#pragma once
// The sprite sheet resource: its colour table becomes the palette, its pixels the sheet surface.
#include <cstdint>

// 1 on success; on failure writes "Palette Init Failed at <step>" and returns 0.
int InitPalette(const char* name);
// 1 on success; on failure writes "Bitmap Init Failed at <step>" and returns 0.
int InitBitmap(const char* name, int32_t width, int32_t height);
