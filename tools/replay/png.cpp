#include "tools/replay/png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/output/output_file.h"

namespace {

// The caller reports a failure, once; libpng's own handler would print a line of its own.
[[noreturn]] void Abandon(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// libpng reports failures by longjmp; nothing with a destructor lives in this frame.
bool Encode(FILE* file, const uint8_t* page, const PALETTEENTRY palette[256]) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Abandon, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, 640, 480, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color colours[256];
    for (int i = 0; i < 256; ++i) colours[i] = png_color{palette[i].peRed, palette[i].peGreen, palette[i].peBlue};
    png_set_PLTE(png, info, colours, 256);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    for (int y = 0; y < 480; ++y) png_write_row(png, page + y * 640);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePagePng(const std::string& path, const uint8_t* page, const PALETTEENTRY palette[256], std::string* error) {
    OutputFile file;
    if (!file.Open(path, error)) return false;
    if (!Encode(file.stream(), page, palette)) {
        *error = path + ": " + (std::ferror(file.stream()) ? std::strerror(errno) : "could not be encoded");
        return false;
    }
    return file.Commit(error);
}
