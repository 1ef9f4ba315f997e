#pragma once
#include <cstdint>
#include <string>

#include "platform/display.h"

// Writes a 640 x 480 page of indices as a palette PNG, as an OutputFile.
bool WritePagePng(const std::string& path, const uint8_t* page, const PALETTEENTRY palette[256], std::string* error);
