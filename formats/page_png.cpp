#include "formats/page_png.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "files/output_file.h"
#include "formats/png_writer.h"

bool WritePagePng(const std::string& path, const uint8_t* page, const PALETTEENTRY palette[256], std::string* error) {
    uint8_t colours[256 * 3];
    for (int i = 0; i < 256; ++i) {
        colours[3 * i] = palette[i].peRed;
        colours[3 * i + 1] = palette[i].peGreen;
        colours[3 * i + 2] = palette[i].peBlue;
    }
    PngImage image;
    image.width = 640;
    image.height = 480;
    image.pixels = PngImage::Palette;
    image.palette = colours;
    image.compressionLevel = 3;
    image.row = [page](int y) { return page + y * 640; };
    OutputFile file;
    if (!file.Open(path, error)) return false;
    if (!WritePng(file.stream(), image)) {
        *error = path + ": " + (std::ferror(file.stream()) ? std::strerror(errno) : "could not be encoded");
        return false;
    }
    return file.Commit(error);
}
