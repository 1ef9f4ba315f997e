#include "formats/png_writer.h"

#include <png.h>

namespace {

[[noreturn]] void Abandon(png_structp png, png_const_charp) { png_longjmp(png, 1); }

}  // namespace

// libpng reports failures by longjmp; nothing with a destructor lives in this frame.
bool WritePng(FILE* file, const PngImage& image) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Abandon, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    const int colourType = image.pixels == PngImage::Palette ? PNG_COLOR_TYPE_PALETTE
                           : image.pixels == PngImage::Rgba  ? PNG_COLOR_TYPE_RGB_ALPHA
                                                             : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (image.pixels == PngImage::Palette) {
        png_color colours[256];
        for (int i = 0; i < 256; ++i) {
            colours[i] = png_color{image.palette[3 * i], image.palette[3 * i + 1], image.palette[3 * i + 2]};
        }
        png_set_PLTE(png, info, colours, 256);
    }
    if (image.compressionLevel >= 0) png_set_compression_level(png, image.compressionLevel);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) png_write_row(png, image.row(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}
