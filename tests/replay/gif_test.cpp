// The replay's GIF clips, decoded by giflib and laid frame over frame as a viewer shows them.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "tools/replay/gif.h"
#include "tools/replay/replay.h"

namespace {

constexpr int kPixels = SCREEN_WIDTH * SCREEN_HEIGHT;

struct Clip {
    std::vector<std::vector<uint8_t>> frames;  // each frame as shown: red, green, blue per pixel
    struct Stored {
        int left, top, width, height;
        bool ownColours;  // a colour table of its own
    };
    std::vector<Stored> stored;
    bool loopsForever = false;
};

// Decodes a whole GIF and composites its frames; failures are reported as test failures.
Clip Decode(const std::string& path) {
    Clip clip;
    int code = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
    if (gif == nullptr) {
        ADD_FAILURE() << path << ": " << GifErrorString(code);
        return clip;
    }
    EXPECT_EQ(DGifSlurp(gif), GIF_OK) << GifErrorString(gif->Error);
    EXPECT_EQ(gif->SWidth, SCREEN_WIDTH);
    EXPECT_EQ(gif->SHeight, SCREEN_HEIGHT);
    EXPECT_NE(gif->SColorMap, nullptr);
    std::vector<uint8_t> canvas(3 * kPixels, 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        // The loop goes before the first frame's timing, where giflib hands it to that frame.
        for (int b = 0; i == 0 && b + 1 < image.ExtensionBlockCount; ++b) {
            const ExtensionBlock& block = image.ExtensionBlocks[b];
            const ExtensionBlock& next = image.ExtensionBlocks[b + 1];
            clip.loopsForever |= block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                                 std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && next.ByteCount == 3 &&
                                 next.Bytes[0] == 1 && next.Bytes[1] == 0 && next.Bytes[2] == 0;
        }
        GraphicsControlBlock control{};
        EXPECT_EQ(DGifSavedExtensionToGCB(gif, i, &control), GIF_OK) << "frame " << i;
        EXPECT_EQ(control.DelayTime, 5) << "frame " << i;
        EXPECT_EQ(control.DisposalMode, DISPOSE_DO_NOT) << "frame " << i;
        EXPECT_EQ(control.TransparentColor, NO_TRANSPARENT_COLOR) << "frame " << i;
        const GifImageDesc& at = image.ImageDesc;
        const ColorMapObject* map = at.ColorMap != nullptr ? at.ColorMap : gif->SColorMap;
        for (int y = 0; y < at.Height; ++y) {
            for (int x = 0; x < at.Width; ++x) {
                const GifColorType c = map->Colors[image.RasterBits[y * at.Width + x]];
                uint8_t* out = &canvas[3 * ((at.Top + y) * SCREEN_WIDTH + at.Left + x)];
                out[0] = c.Red, out[1] = c.Green, out[2] = c.Blue;
            }
        }
        clip.frames.push_back(canvas);
        clip.stored.push_back({at.Left, at.Top, at.Width, at.Height, at.ColorMap != nullptr});
    }
    DGifCloseFile(gif, nullptr);
    return clip;
}

std::vector<uint8_t> Shown(const uint8_t* page, const PALETTEENTRY* palette) {
    std::vector<uint8_t> rgb(3 * kPixels);
    for (int i = 0; i < kPixels; ++i) {
        const PALETTEENTRY c = palette[page[i]];
        rgb[3 * i] = c.peRed, rgb[3 * i + 1] = c.peGreen, rgb[3 * i + 2] = c.peBlue;
    }
    return rgb;
}

struct TempDir {
    std::filesystem::path path = std::filesystem::temp_directory_path() / ("skyring-gif-test-" + std::to_string(getpid()));
    TempDir() { std::filesystem::create_directories(path); }
    ~TempDir() { std::filesystem::remove_all(path); }
};

TEST(GifClip, EveryFrameLastsItsTwentiethEvenWhenNothingOrOnlyThePaletteChanges) {
    std::vector<uint8_t> a(kPixels), b, c;
    for (int i = 0; i < kPixels; ++i) a[i] = static_cast<uint8_t>(i % 251);
    b = a;
    b[100 * SCREEN_WIDTH + 200] = 7, b[120 * SCREEN_WIDTH + 150] = 9;  // a 51 x 21 box of change
    c = b;
    c[SCREEN_WIDTH * SCREEN_HEIGHT - 1] = 0;
    PALETTEENTRY p[256], q[256];
    for (int i = 0; i < 256; ++i) p[i] = q[i] = PALETTEENTRY{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0};
    q[7] = PALETTEENTRY{1, 2, 3, 0};
    const struct {
        const std::vector<uint8_t>& page;
        const PALETTEENTRY* palette;
    } pages[] = {{a, p}, {a, p}, {b, p}, {b, q}, {c, q}, {c, p}};

    TempDir dir;
    const std::string path = (dir.path / "clip.gif").string();
    GifClip gif;
    std::string error;
    ASSERT_TRUE(gif.Open(path, &error)) << error;
    for (const auto& shown : pages) ASSERT_TRUE(gif.AddPage(shown.page.data(), shown.palette, &error)) << error;
    ASSERT_TRUE(gif.Commit(&error)) << error;

    const Clip clip = Decode(path);
    ASSERT_EQ(clip.frames.size(), std::size(pages));
    EXPECT_TRUE(clip.loopsForever);
    for (size_t i = 0; i < std::size(pages); ++i) {
        EXPECT_TRUE(clip.frames[i] == Shown(pages[i].page.data(), pages[i].palette)) << "frame " << i;
    }
    const auto size = [&](int i) { return std::make_pair(clip.stored[i].width, clip.stored[i].height); };
    EXPECT_EQ(size(1), std::make_pair(1, 1)) << "nothing changed: one pixel keeps the frame's time";
    EXPECT_EQ(size(2), std::make_pair(51, 21));
    EXPECT_EQ(clip.stored[2].left, 150);
    EXPECT_EQ(clip.stored[2].top, 100);
    EXPECT_EQ(size(3), std::make_pair(640, 480)) << "new colours may change any pixel";
    EXPECT_TRUE(clip.stored[3].ownColours);
    EXPECT_EQ(size(4), std::make_pair(1, 1));
    EXPECT_TRUE(clip.stored[4].ownColours) << "still the other palette";
    EXPECT_FALSE(clip.stored[5].ownColours) << "back to the first palette";
}

// The page a run shows in frame: the last page of a run that stops after it.
std::vector<uint8_t> PageOfFrame(const std::vector<ScriptEvent>& events, int64_t frame) {
    ReplayOptions options;
    options.frames = frame + 1;
    options.events = events;
    EXPECT_TRUE(RunReplay(options).error.empty());
    return Shown(HeadlessVisiblePage(), HeadlessPalette());
}

TEST(Replay, AGifClipShowsThePagesOfItsFramesThroughThePalette) {
    // The player leaves the aircraft at frame 81 and turns at once: small changes, then the
    // whole page moving with the player.
    const std::vector<ScriptEvent> events{{82, ScriptAction::KeyDown, 37}, {88, ScriptAction::KeyUp, 37}};
    TempDir dir;
    const std::string path = (dir.path / "run.gif").string();
    GifClip gif;
    std::string error;
    ASSERT_TRUE(gif.Open(path, &error)) << error;
    ReplayOptions options;
    options.frames = 100;
    options.events = events;
    options.gif = &gif;
    options.gifFrom = 76;
    options.gifTo = 92;
    ASSERT_TRUE(RunReplay(options).error.empty());
    ASSERT_TRUE(gif.Commit(&error)) << error;

    const Clip clip = Decode(path);
    ASSERT_EQ(clip.frames.size(), 17u);
    EXPECT_TRUE(clip.loopsForever);
    for (int64_t frame = 76; frame <= 92; ++frame) {
        EXPECT_TRUE(clip.frames[frame - 76] == PageOfFrame(events, frame)) << "frame " << frame;
    }
}

}  // namespace
