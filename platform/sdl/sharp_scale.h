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
    // Whether rows are stretched eight pixels at a time (x86-64 with AVX2; rows are then mixed
    // with AVX2 too), and a way for the tests to turn that off, to compare with the plain
    // build; takes effect at SetGeometry.
    bool WideStretch() const { return !groups_.empty(); }
    void AllowWideStretch(bool allow) { allowWide_ = allow; }

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
    // Eight output columns at once: the eight page pixels from first, and which of them
    // each column mixes with what weight of its second (the mixing formula of Tap).
    struct Group {
        uint32_t first;
        uint8_t a[8], b[8], take[8];
    };
    static uint32_t MixPair(const uint32_t* pair, Words8 weights);
    // A page row (as colours) stretched to the output width into to; nothing past
    // to[width - 1] is written.
    void Stretch(const uint32_t* from, uint32_t* to) const;
    template <int kStore>
    void StretchRuns(const uint32_t* from, uint32_t* to) const;
    void StretchGroups(const uint32_t* from, uint32_t* to) const;  // AVX2 only
    // Page row sourceRow stretched: into its first plain output row, or a spare row.
    const uint32_t* StretchedRow(uint32_t sourceRow, uint8_t* out, size_t pitchBytes);

    int width_ = 0, height_ = 0, factor_ = 1;
    bool allowWide_ = true;
    bool wide_ = false;       // AVX2 here, and allowed: rows are mixed 32 channels at a time
    bool sameWidth_ = false;  // the columns are the page's own, unscaled
    std::vector<Tap> rows_;
    std::vector<int> home_;   // each page row's first plain output row, or -1
    std::vector<Run> runs_;
    size_t wideRuns_ = 0;     // runs_ whose wide stores all fall inside the row
    std::vector<MixedColumn> mixedColumns_;
    std::vector<Group> groups_;
    PageColours colours_;
    const uint64_t* pairs_ = nullptr;
    const uint8_t* page_ = nullptr;
    std::vector<uint32_t> colourRow_;
    std::vector<uint32_t> spare_[2];
    std::vector<const uint32_t*> stretched_;  // this present's stretched page rows so far
};
