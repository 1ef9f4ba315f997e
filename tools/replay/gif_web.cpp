// The web build's replay writes traces only: there is no giflib built for it. Asking for a
// clip is an error that says so, never a file that silently is not there.
#include "tools/replay/gif.h"

namespace {

const char kNoClips[] = "clips are not in the web build (no giflib for it); use the desktop build";

}  // namespace

GifClip::~GifClip() = default;

bool GifClip::Open(const std::string&, std::string* error) { return Failed(error); }

bool GifClip::AddPage(const uint8_t*, const PALETTEENTRY*, std::string* error) { return Failed(error); }

bool GifClip::Commit(std::string* error) { return Failed(error); }

bool GifClip::Failed(std::string* error) {
    *error = kNoClips;
    return false;
}
