#pragma once
// A run's pages as an animated GIF: 20 frames a second, looping, each frame after the first
// only the rectangle that changed.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/display.h"
#include "files/output_file.h"

struct GifFileType;

class GifClip {
public:
    GifClip() = default;
    ~GifClip();
    GifClip(const GifClip&) = delete;
    GifClip& operator=(const GifClip&) = delete;

    // Opens path as an OutputFile; nothing is written before the first page.
    bool Open(const std::string& path, std::string* error);
    // A 640 x 480 page of indices and the palette it is shown in, as the next frame.
    bool AddPage(const uint8_t* page, const PALETTEENTRY palette[256], std::string* error);
    // Ends the GIF and puts it in place; it needs one page at least.
    bool Commit(std::string* error);
    int64_t frames() const { return frames_; }
    // The path as given, for messages.
    const std::string& name() const { return file_.name(); }

private:
    bool Failed(std::string* error);

    OutputFile file_;
    GifFileType* gif_ = nullptr;
    int64_t frames_ = 0;
    std::vector<uint8_t> shown_;  // the last page added: what the GIF shows so far
    PALETTEENTRY shownPalette_[256]{};
    PALETTEENTRY globalPalette_[256]{};
};
