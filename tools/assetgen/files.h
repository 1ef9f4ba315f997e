#pragma once
// The file formats the generator writes.
#include <string>
#include <vector>

#include "tools/assetgen/audio.h"
#include "tools/assetgen/icon.h"
#include "tools/assetgen/palette.h"
#include "tools/assetgen/raster.h"

namespace assetgen {

// A .bmp: the 14-byte file header, then the packed 8-bit bitmap, bottom row first.
bool WriteBmp(const std::string& path, const Sheet& sheet, const Palette& palette);
// The canonical 44-byte RIFF WAVE header, then the samples.
bool WriteWav(const std::string& path, const Clip& clip);
// A picture for people: each index in its colour, index 0 as the sky it is drawn on, scaled up.
bool WritePreviewPng(const std::string& path, const Sheet& sheet, const Palette& palette, int zoom);
// A truecolour PNG with alpha.
bool WriteIconPng(const std::string& path, const Icon& icon);
// A Windows .ico holding the icons (256 pixels a side at most), each as a PNG.
bool WriteIco(const std::string& path, const std::vector<Icon>& icons);

}  // namespace assetgen
