#include "platform/sdl/sharp_scale.h"

#include <cstring>
#include <type_traits>

namespace {

// Four and eight pixels of one colour, stored at once.
typedef uint32_t Pixels4 __attribute__((vector_size(16)));
typedef uint32_t Pixels8 __attribute__((vector_size(32)));
constexpr size_t kSlack = 8;

// Where the compiler and C library can choose a function's build when the program starts,
// the row mixing gets an AVX2 one as well, with twice as wide vectors. Not under
// ThreadSanitizer, whose runtime is not yet there when the choice is made.
#if defined(__x86_64__) && defined(__GLIBC__) && !defined(__SANITIZE_THREAD__)
#define WITH_AVX2_BUILD __attribute__((target_clones("avx2", "default")))
#else
#define WITH_AVX2_BUILD
#endif

// Two rows mixed channel by channel, every byte one channel. The rows never overlap, and in
// blocks of a fixed size the compiler vectorises the loop.
WITH_AVX2_BUILD void MixRows(const uint8_t* __restrict a, const uint8_t* __restrict b, uint8_t* __restrict to,
                             size_t bytes, uint32_t weight) {
    const auto take = static_cast<uint16_t>(weight), keep = static_cast<uint16_t>(256 - weight);
    constexpr size_t kBlock = 32;
    size_t i = 0;
    for (; i + kBlock <= bytes; i += kBlock) {
        for (size_t k = i; k < i + kBlock; ++k) to[k] = static_cast<uint8_t>((a[k] * keep + b[k] * take + 128) >> 8);
    }
    for (; i < bytes; ++i) to[i] = static_cast<uint8_t>((a[i] * keep + b[i] * take + 128) >> 8);
}

}  // namespace

// The output pixel's centre in the whole-factor picture: u = (out + 0.5) * size * factor /
// outSize - 0.5. Its two neighbours there come from one page pixel except at a block's edge.
std::vector<SharpScaler::Tap> SharpScaler::Taps(int sourceSize, int factor, int outSize) {
    std::vector<Tap> taps(static_cast<size_t>(outSize));
    const int64_t enlarged = int64_t{sourceSize} * factor, twiceOut = 2 * int64_t{outSize};
    for (int out = 0; out < outSize; ++out) {
        const int64_t numerator = (2 * int64_t{out} + 1) * enlarged - outSize;  // u * twiceOut
        Tap& tap = taps[static_cast<size_t>(out)];
        if (numerator <= 0) {
            tap = {0, 0};
            continue;
        }
        const int64_t at = numerator / twiceOut, rest = numerator % twiceOut;
        tap.source = static_cast<uint32_t>(at / factor);
        if (at + 1 >= enlarged || (at + 1) / factor == at / factor) continue;
        tap.weight = static_cast<uint32_t>((rest * 256 + outSize) / twiceOut);
        if (tap.weight == 256) tap = {tap.source + 1, 0};
    }
    return taps;
}

void SharpScaler::SetGeometry(int factor, int width, int height) {
    width_ = width;
    height_ = height;
    factor_ = factor;
    rows_ = Taps(SCREEN_HEIGHT, factor, height);
    runs_.clear();
    mixedColumns_.clear();
    for (const Tap& tap : Taps(SCREEN_WIDTH, factor, width)) {
        if (tap.weight != 0) {
            const auto keep = static_cast<uint16_t>(256 - tap.weight), take = static_cast<uint16_t>(tap.weight);
            mixedColumns_.push_back({Words8{keep, keep, keep, keep, take, take, take, take}, tap.source});
            if (runs_.empty()) runs_.push_back({tap.source, 0, 0});
            ++runs_.back().mixed;
        } else if (runs_.empty() || runs_.back().mixed != 0 || runs_.back().source != tap.source) {
            runs_.push_back({tap.source, 1, 0});
        } else {
            ++runs_.back().plain;
        }
    }
    // Room for the last run's whole store past the row's end.
    for (std::vector<uint32_t>& row : stretched_) row.assign(static_cast<size_t>(width) + kSlack, 0);
}

// A pixel and its right neighbour mixed channel by channel, with the weights of the first in
// the low four words and of the second in the high four.
inline uint32_t SharpScaler::MixPair(const uint32_t* pair, Words8 weights) {
    typedef uint8_t Bytes8 __attribute__((vector_size(8)));
    Bytes8 bytes;
    std::memcpy(&bytes, pair, sizeof bytes);
    Words8 sum = __builtin_convertvector(bytes, Words8) * weights;
    sum += __builtin_shuffle(sum, Words8{4, 5, 6, 7, 0, 1, 2, 3}) + 128;
    const Bytes8 mixed = __builtin_convertvector(sum >> 8, Bytes8);
    uint32_t pixel;
    std::memcpy(&pixel, &mixed, sizeof pixel);
    return pixel;
}

// Every run starts with one store of kStore pixels of its colour, more while it lasts; what
// a store writes past the run is overwritten by the next, or lands in the row's slack.
template <int kStore>
void SharpScaler::Stretch(const uint32_t* from, uint32_t* to) {
    using Pixels = std::conditional_t<kStore == 8, Pixels8, Pixels4>;
    const MixedColumn* mixed = mixedColumns_.data();
    for (const Run& run : runs_) {
        const Pixels colour = Pixels{} + from[run.source];
        uint32_t done = 0;
        do {
            std::memcpy(to + done, &colour, sizeof colour);
            done += kStore;
        } while (done < run.plain);
        to += run.plain;
        for (uint32_t m = 0; m < run.mixed; ++m, ++mixed) *to++ = MixPair(from + mixed->source, mixed->weights);
    }
}

const uint32_t* SharpScaler::StretchedRow(int sourceRow) {
    for (int slot = 0; slot < 2; ++slot) {
        if (stretchedRow_[slot] == sourceRow) return stretched_[slot].data();
    }
    // Rows are asked for in order, so the older slot is the one no longer needed.
    const int slot = stretchedRow_[0] < stretchedRow_[1] ? 0 : 1;
    stretchedRow_[slot] = sourceRow;
    const uint32_t* from = page_.data() + static_cast<size_t>(sourceRow) * SCREEN_WIDTH;
    uint32_t* to = stretched_[slot].data();
    // Blocks of four pixels or more fill faster with the wider store.
    if (factor_ >= 4) {
        Stretch<8>(from, to);
    } else {
        Stretch<4>(from, to);
    }
    return to;
}

void SharpScaler::Present(const uint8_t* page, const PALETTEENTRY palette[256], uint8_t* out, size_t pitchBytes) {
    page_.resize(SCREEN_WIDTH * SCREEN_HEIGHT);
    colours_.Convert(page, palette, page_.data(), SCREEN_WIDTH * sizeof(uint32_t));
    stretchedRow_[0] = stretchedRow_[1] = -1;
    const size_t rowBytes = static_cast<size_t>(width_) * sizeof(uint32_t);
    for (int y = 0; y < height_; ++y) {
        const Tap tap = rows_[static_cast<size_t>(y)];
        uint8_t* to = out + static_cast<size_t>(y) * pitchBytes;
        const auto* a = reinterpret_cast<const uint8_t*>(StretchedRow(static_cast<int>(tap.source)));
        if (tap.weight == 0) {
            std::memcpy(to, a, rowBytes);
            continue;
        }
        const auto* b = reinterpret_cast<const uint8_t*>(StretchedRow(static_cast<int>(tap.source) + 1));
        MixRows(a, b, to, rowBytes, tap.weight);
    }
}
