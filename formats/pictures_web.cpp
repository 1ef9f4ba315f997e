// The web build's replay writes traces only: there is no libpng built for it. Asking for a
// picture is an error that says so, never a file that silently is not there.
#include "formats/page_png.h"

bool WritePagePng(const std::string&, const uint8_t*, const PALETTEENTRY*, std::string* error) {
    *error = "pictures are not in the web build (no libpng for it); use the desktop build";
    return false;
}
