#pragma once
// The page enlarged as the screen shows it: every page pixel a crisp block of the whole
// factor, the blocks then stretched smoothly to the output size, so that only output pixels
// on a block's edge mix two page colours. Palette, both steps and the mixing happen in one
// pass straight into the output, with no picture at the whole factor in between.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/device/page_colours.h"

class SharpScaler {
public:
    // Tables for a page enlarged by the whole factor, then stretched to width x height.
    void SetGeometry(int factor, int width, int height);
    // Shows a 640 x 480 page of indices through the palette as width x height 32-bit
    // 0xAARRGGBB pixels, rows pitchBytes apart. Nothing outside that rectangle is written.
    void Present(const uint8_t* page, const PALETTEENTRY palette[256], uint8_t* out, size_t pitchBytes);

private:
    // An output column's or row's mix: (source * (256 - weight) + (source + 1) * weight) / 256;
    // weight 0 is the crisp inside of a block.
    struct Tap {
        uint32_t source, weight;
    };
    static std::vector<Tap> Taps(int sourceSize, int factor, int outSize);
    // The columns' taps as runs: plain copies of one page pixel, then the mixed pixels at the
    // block's edge, so that a row is written with wide stores of one colour.
    struct Run {
        uint32_t source, plain, mixed;
    };
    // A mixed column's weights for its two page pixels, per channel.
    typedef uint16_t Words8 __attribute__((vector_size(16)));
    struct MixedColumn {
        Words8 weights;
        uint32_t source;
    };
    static uint32_t MixPair(const uint32_t* pair, Words8 weights);
    // A page row stretched to the output width; the two last made are kept.
    const uint32_t* StretchedRow(int sourceRow);
    template <int kStore>
    void Stretch(const uint32_t* from, uint32_t* to);

    int width_ = 0, height_ = 0, factor_ = 1;
    std::vector<Tap> rows_;
    std::vector<Run> runs_;
    std::vector<MixedColumn> mixedColumns_;
    PageColours colours_;
    std::vector<uint32_t> page_;
    std::vector<uint32_t> stretched_[2];
    int stretchedRow_[2] = {-1, -1};
};
