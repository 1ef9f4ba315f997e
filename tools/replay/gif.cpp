#include "tools/replay/gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace {

constexpr int kWidth = SCREEN_WIDTH, kHeight = SCREEN_HEIGHT;
constexpr int kFrameDelay = 5;  // hundredths of a second: the game's 50 ms frame

// The part of a frame to store; empty when right <= left.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Where page differs from before: rows first, then the columns of only those rows.
Box ChangedBox(const uint8_t* before, const uint8_t* page) {
    Box box;
    int top = 0, bottom = kHeight;
    while (top < kHeight && std::memcmp(before + top * kWidth, page + top * kWidth, kWidth) == 0) ++top;
    if (top == kHeight) return box;
    while (std::memcmp(before + (bottom - 1) * kWidth, page + (bottom - 1) * kWidth, kWidth) == 0) --bottom;
    int left = kWidth, right = 0;
    for (int y = top; y < bottom; ++y) {
        const uint8_t* a = before + y * kWidth;
        const uint8_t* b = page + y * kWidth;
        for (int x = 0; x < left; ++x) {
            if (a[x] != b[x]) {
                left = x;
                break;
            }
        }
        for (int x = kWidth - 1; x >= right; --x) {
            if (a[x] != b[x]) {
                right = x + 1;
                break;
            }
        }
    }
    return {left, top, right, bottom};
}

bool SamePalette(const PALETTEENTRY* a, const PALETTEENTRY* b) {
    for (int i = 0; i < 256; ++i) {
        if (a[i].peRed != b[i].peRed || a[i].peGreen != b[i].peGreen || a[i].peBlue != b[i].peBlue) return false;
    }
    return true;
}

int WriteToFile(GifFileType* gif, const GifByteType* bytes, int length) {
    return static_cast<int>(std::fwrite(bytes, 1, static_cast<size_t>(length), static_cast<FILE*>(gif->UserData)));
}

bool PutLoopForever(GifFileType* gif) {
    static const GifByteType kLoops[] = {1, 0, 0};  // sub-block 1: a loop count of 0, forever
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
           EGifPutExtensionBlock(gif, sizeof kLoops, kLoops) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
}

}  // namespace

GifClip::~GifClip() {
    if (gif_ != nullptr) EGifCloseFile(gif_, nullptr);
}

bool GifClip::Open(const std::string& path, std::string* error) {
    if (!file_.Open(path, error)) return false;
    int code = 0;
    gif_ = EGifOpen(file_.stream(), WriteToFile, &code);
    if (gif_ == nullptr) {
        *error = file_.name() + ": " + GifErrorString(code);
        return false;
    }
    EGifSetGifVersion(gif_, true);  // delays and the loop are GIF89a's
    return true;
}

bool GifClip::AddPage(const uint8_t* page, const PALETTEENTRY palette[256], std::string* error) {
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i) colours[i] = GifColorType{palette[i].peRed, palette[i].peGreen, palette[i].peBlue};
    ColorMapObject map{256, 8, false, colours};
    Box box{0, 0, kWidth, kHeight};
    if (frames_ == 0) {
        // The first page's palette is the whole GIF's, and the first frame the whole page.
        std::copy(palette, palette + 256, globalPalette_);
        if (EGifPutScreenDesc(gif_, kWidth, kHeight, 8, 0, &map) != GIF_OK || !PutLoopForever(gif_)) return Failed(error);
        shown_.resize(kWidth * kHeight);
    } else if (SamePalette(palette, shownPalette_)) {
        box = ChangedBox(shown_.data(), page);
        // A frame where nothing changed still takes its 50 ms: one pixel, stored again.
        if (box.right <= box.left) box = Box{0, 0, 1, 1};
    }
    // Other colours may change any pixel, so such a frame is the whole page.
    std::memcpy(shown_.data(), page, shown_.size());
    std::copy(palette, palette + 256, shownPalette_);

    GraphicsControlBlock control{DISPOSE_DO_NOT, false, kFrameDelay, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    const bool global = SamePalette(palette, globalPalette_);
    // giflib forgets a previous frame's own colour table without freeing it.
    if (gif_->Image.ColorMap != nullptr) {
        GifFreeMapObject(gif_->Image.ColorMap);
        gif_->Image.ColorMap = nullptr;
    }
    if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension) != GIF_OK ||
        EGifPutImageDesc(gif_, box.left, box.top, box.right - box.left, box.bottom - box.top, false,
                         global ? nullptr : &map) != GIF_OK) {
        return Failed(error);
    }
    // Rows go from the copy: giflib writes into the lines it is given.
    for (int y = box.top; y < box.bottom; ++y) {
        if (EGifPutLine(gif_, shown_.data() + y * kWidth + box.left, box.right - box.left) != GIF_OK) return Failed(error);
    }
    ++frames_;
    return true;
}

bool GifClip::Commit(std::string* error) {
    if (frames_ == 0) {
        *error = file_.name() + ": no frame to write";
        return false;
    }
    int code = 0;
    const int closed = EGifCloseFile(std::exchange(gif_, nullptr), &code);
    if (closed != GIF_OK) {
        *error = file_.name() + ": " + GifErrorString(code);
        return false;
    }
    return file_.Commit(error);
}

bool GifClip::Failed(std::string* error) {
    const bool written = !std::ferror(file_.stream());
    *error = file_.name() + ": " + (written ? GifErrorString(gif_->Error) : std::strerror(errno));
    return false;
}
