#include "tools/assetgen/files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "formats/png_writer.h"

namespace assetgen {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

bool Save(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool SavePng(const std::string& path, const PngImage& image) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = WritePng(file, image);
    return std::fclose(file) == 0 && written;
}

PngImage IconImage(const Icon& icon) {
    PngImage image;
    image.width = image.height = icon.size;
    image.pixels = PngImage::Rgba;
    image.row = [&icon](int y) { return &icon.rgba[static_cast<size_t>(y) * icon.size * 4]; };
    return image;
}

// The PNG's bytes, for a container that holds several.
bool EncodePng(const PngImage& image, std::vector<uint8_t>* bytes) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* memory = open_memstream(&buffer, &size);
    if (memory == nullptr) return false;
    const bool written = WritePng(memory, image);
    const bool closed = std::fclose(memory) == 0;
    bytes->assign(buffer, buffer + size);
    std::free(buffer);
    return written && closed;
}

}  // namespace

bool WriteBmp(const std::string& path, const Sheet& sheet, const Palette& palette) {
    constexpr uint32_t kInfo = 40, kTable = 256 * 4, kPixels = Sheet::kSize * Sheet::kSize;
    std::vector<uint8_t> out;
    PutTag(out, "BM\0\0");
    out.resize(2);
    Put32(out, 14 + kInfo + kTable + kPixels);
    Put32(out, 0);
    Put32(out, 14 + kInfo + kTable);
    Put32(out, kInfo);
    Put32(out, Sheet::kSize);
    Put32(out, Sheet::kSize);  // positive: bottom row first
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);  // BI_RGB
    Put32(out, kPixels);
    Put32(out, 23621);
    Put32(out, 23621);
    Put32(out, 256);
    Put32(out, 256);
    for (const Colour& c : palette.colours) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = Sheet::kSize - 1; y >= 0; --y) {
        const uint8_t* row = &sheet.pixels[static_cast<size_t>(y) * Sheet::kSize];
        out.insert(out.end(), row, row + Sheet::kSize);
    }
    return Save(path, out);
}

bool WriteWav(const std::string& path, const Clip& clip) {
    const uint32_t block = static_cast<uint32_t>(clip.channels * clip.bits / 8);
    const uint32_t size = static_cast<uint32_t>(clip.data.size());
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    Put32(out, 36 + size);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, static_cast<uint32_t>(clip.channels));
    Put32(out, static_cast<uint32_t>(clip.rate));
    Put32(out, static_cast<uint32_t>(clip.rate) * block);
    Put16(out, block);
    Put16(out, static_cast<uint32_t>(clip.bits));
    PutTag(out, "data");
    Put32(out, size);
    out.insert(out.end(), clip.data.begin(), clip.data.end());
    return Save(path, out);
}

bool WritePreviewPng(const std::string& path, const Sheet& sheet, const Palette& palette, int zoom) {
    const int size = Sheet::kSize * zoom;
    std::vector<uint8_t> row(static_cast<size_t>(size) * 3);
    PngImage image;
    image.width = image.height = size;
    image.pixels = PngImage::Rgb;
    image.row = [&](int y) {
        for (int x = 0; x < size; ++x) {
            const uint8_t index = sheet.pixels[static_cast<size_t>(y / zoom) * Sheet::kSize + x / zoom];
            // Index 0 as a faint check of sky, so the pictures show as in the game and the
            // solid sky tile still stands out.
            const bool check = ((x / (8 * zoom)) + (y / (8 * zoom))) % 2 == 1;
            const Colour c = index != 0 ? palette.colours[index] : check ? Colour{0, 200, 240} : palette.colours[kBackdropIndex];
            row[static_cast<size_t>(x) * 3] = c.r;
            row[static_cast<size_t>(x) * 3 + 1] = c.g;
            row[static_cast<size_t>(x) * 3 + 2] = c.b;
        }
        return row.data();
    };
    return SavePng(path, image);
}

bool WriteIconPng(const std::string& path, const Icon& icon) { return SavePng(path, IconImage(icon)); }

// The ICONDIR header, one 16-byte entry an icon, then each icon's PNG (Windows Vista and later
// read PNG at every size).
bool WriteIco(const std::string& path, const std::vector<Icon>& icons) {
    std::vector<uint8_t> out, images;
    Put16(out, 0);
    Put16(out, 1);  // an icon, not a cursor
    Put16(out, static_cast<uint32_t>(icons.size()));
    const uint32_t firstImage = 6 + 16 * static_cast<uint32_t>(icons.size());
    for (const Icon& icon : icons) {
        std::vector<uint8_t> png;
        if (icon.size > 256 || !EncodePng(IconImage(icon), &png)) return false;
        out.push_back(static_cast<uint8_t>(icon.size));  // 256 is written 0
        out.push_back(static_cast<uint8_t>(icon.size));
        out.push_back(0);  // no palette
        out.push_back(0);
        Put16(out, 1);   // planes
        Put16(out, 32);  // bits a pixel
        Put32(out, static_cast<uint32_t>(png.size()));
        Put32(out, firstImage + static_cast<uint32_t>(images.size()));
        images.insert(images.end(), png.begin(), png.end());
    }
    out.insert(out.end(), images.begin(), images.end());
    return Save(path, out);
}

}  // namespace assetgen
