// The web build's replay writes traces only: there is no libpng or giflib built for it. Asking
// for a picture or a clip is an error that says so, never a file that silently is not there.
#include "tools/replay/gif.h"
#include "tools/replay/png.h"

namespace {

const char kNoPictures[] = "pictures and clips are not in the web build (no libpng or giflib for it); use the desktop build";

}  // namespace

bool WritePagePng(const std::string&, const uint8_t*, const PALETTEENTRY*, std::string* error) {
    *error = kNoPictures;
    return false;
}

GifClip::~GifClip() = default;

bool GifClip::Open(const std::string&, std::string* error) {
    *error = kNoPictures;
    return false;
}

bool GifClip::AddPage(const uint8_t*, const PALETTEENTRY*, std::string* error) { return Failed(error); }

bool GifClip::Commit(std::string* error) { return Failed(error); }

bool GifClip::Failed(std::string* error) {
    *error = kNoPictures;
    return false;
}
