#include "platform/sdl/sharp_scale.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define WITH_X86_VECTORS 1
#endif

namespace {

// Four and eight pixels of one colour, stored at once.
typedef uint32_t Pixels4 __attribute__((vector_size(16)));
typedef uint32_t Pixels8 __attribute__((vector_size(32)));

// Two rows mixed channel by channel, every byte one channel. The rows never overlap, and in
// blocks of a fixed size the compiler vectorises the loop.
void MixRows(const uint8_t* __restrict a, const uint8_t* __restrict b, uint8_t* __restrict to, size_t bytes,
             uint32_t weight) {
    const auto take = static_cast<uint16_t>(weight), keep = static_cast<uint16_t>(256 - weight);
    constexpr size_t kBlock = 32;
    size_t i = 0;
    for (; i + kBlock <= bytes; i += kBlock) {
        for (size_t k = i; k < i + kBlock; ++k) to[k] = static_cast<uint8_t>((a[k] * keep + b[k] * take + 128) >> 8);
    }
    for (; i < bytes; ++i) to[i] = static_cast<uint8_t>((a[i] * keep + b[i] * take + 128) >> 8);
}

#ifdef WITH_X86_VECTORS
// Channels as 16-bit words: (a * (256 - take) + b * take + 128) >> 8.
__attribute__((target("avx2"), always_inline)) inline __m256i MixWords(__m256i a, __m256i b, __m256i take) {
    const __m256i whole = _mm256_set1_epi16(256), half = _mm256_set1_epi16(128);
    const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(a, _mm256_sub_epi16(whole, take)), _mm256_mullo_epi16(b, take));
    return _mm256_srli_epi16(_mm256_add_epi16(sum, half), 8);
}

// Eight pixels of a mixed with eight of b, channel by channel, in 16-bit words unpacked within
// each 128-bit lane and packed back the same way. takeLow holds the weights of the unpacked low
// halves' words, takeHigh the high halves'.
__attribute__((target("avx2"), always_inline)) inline __m256i MixPixels(__m256i a, __m256i b, __m256i takeLow,
                                                                          __m256i takeHigh) {
    const __m256i zero = _mm256_setzero_si256();
    return _mm256_packus_epi16(MixWords(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero), takeLow),
                               MixWords(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero), takeHigh));
}

// The same with AVX2, 32 channels at a time.
__attribute__((target("avx2"))) void MixRowsWide(const uint8_t* a, const uint8_t* b, uint8_t* to, size_t bytes,
                                                 uint32_t weight) {
    const auto take = static_cast<uint16_t>(weight), keep = static_cast<uint16_t>(256 - weight);
    const __m256i takes = _mm256_set1_epi16(static_cast<short>(take));
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + i), MixPixels(x, y, takes, takes));
    }
    for (; i < bytes; ++i) to[i] = static_cast<uint8_t>((a[i] * keep + b[i] * take + 128) >> 8);
}

// Checked when the program runs, not chosen by the loader, so that it works the same under
// the sanitizers.
bool HasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
#else
bool HasAvx2() { return false; }
void MixRowsWide(const uint8_t* a, const uint8_t* b, uint8_t* to, size_t bytes, uint32_t weight) {
    MixRows(a, b, to, bytes, weight);
}
#endif

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
    sameWidth_ = width == SCREEN_WIDTH;  // then factor 1, and every column is its page pixel
    rows_ = Taps(SCREEN_HEIGHT, factor, height);
    home_.assign(SCREEN_HEIGHT, -1);
    for (int y = height - 1; y >= 0; --y) {
        const Tap& tap = rows_[static_cast<size_t>(y)];
        if (tap.weight == 0) home_[tap.source] = y;
    }
    const std::vector<Tap> columns = Taps(SCREEN_WIDTH, factor, width);
    runs_.clear();
    mixedColumns_.clear();
    for (const Tap& tap : columns) {
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
    // The runs whose stores of one colour stay inside the row; the rest are written a pixel
    // at a time.
    const uint32_t store = factor >= 4 ? 8 : 4;
    uint32_t at = 0;
    for (wideRuns_ = 0; wideRuns_ < runs_.size(); ++wideRuns_) {
        const Run& run = runs_[wideRuns_];
        if (at + std::max(store, (run.plain + store - 1) / store * store) > static_cast<uint32_t>(width)) break;
        at += run.plain + run.mixed;
    }
    // Eight columns at once where each group of eight takes its pixels from eight page pixels
    // in a row (roughly every screen whose page pixels are 8/7 output pixels wide or more).
    groups_.clear();
    wide_ = allowWide_ && HasAvx2();
    if (wide_ && !sameWidth_) {
        groups_.resize((static_cast<size_t>(width) + 7) / 8);
        for (size_t g = 0; g < groups_.size(); ++g) {
            Group& group = groups_[g];
            group = {};
            group.first = std::min<uint32_t>(columns[g * 8].source, SCREEN_WIDTH - 8);
            bool fits = true;
            for (size_t k = 0; k < 8 && g * 8 + k < columns.size(); ++k) {
                const Tap& tap = columns[g * 8 + k];
                const uint32_t a = tap.source - group.first, b = tap.weight != 0 ? a + 1 : a;
                fits = fits && b < 8;
                group.a[k] = static_cast<uint8_t>(a);
                group.b[k] = static_cast<uint8_t>(b);
                group.take[k] = static_cast<uint8_t>(tap.weight);
            }
            if (!fits) {
                groups_.clear();
                break;
            }
        }
    }
    colourRow_.assign(SCREEN_WIDTH, 0);
    for (std::vector<uint32_t>& row : spare_) row.assign(static_cast<size_t>(width), 0);
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
// a store writes past the run is overwritten by the next. The last runs, whose stores would
// reach past the row, are written a pixel at a time.
template <int kStore>
void SharpScaler::StretchRuns(const uint32_t* from, uint32_t* to) const {
    using Pixels = std::conditional_t<kStore == 8, Pixels8, Pixels4>;
    const MixedColumn* mixed = mixedColumns_.data();
    for (size_t i = 0; i < runs_.size(); ++i) {
        const Run& run = runs_[i];
        if (i < wideRuns_) {
            const Pixels colour = Pixels{} + from[run.source];
            uint32_t done = 0;
            do {
                std::memcpy(to + done, &colour, sizeof colour);
                done += kStore;
            } while (done < run.plain);
        } else {
            std::fill(to, to + run.plain, from[run.source]);
        }
        to += run.plain;
        for (uint32_t m = 0; m < run.mixed; ++m, ++mixed) *to++ = MixPair(from + mixed->source, mixed->weights);
    }
}

#ifdef WITH_X86_VECTORS
// Each group of eight output pixels: the eight page pixels from its first, each column's
// two of them picked out, mixed (a * (256 - take) + b * take + 128) >> 8 in 16-bit channels.
__attribute__((target("avx2"))) void SharpScaler::StretchGroups(const uint32_t* from, uint32_t* to) const {
    const Group* group = groups_.data();
    const size_t count = groups_.size(), width = static_cast<size_t>(width_);
    // The unpacked low halves hold pixels 0, 1 (first lane) and 4, 5 (second); the high
    // halves 2, 3 and 6, 7. Each pixel's weight goes to its four channels' words.
    constexpr char z = -128;
    const __m256i spreadLow = _mm256_setr_epi8(0, z, 0, z, 0, z, 0, z, 1, z, 1, z, 1, z, 1, z,  //
                                               4, z, 4, z, 4, z, 4, z, 5, z, 5, z, 5, z, 5, z);
    const __m256i spreadHigh = _mm256_setr_epi8(2, z, 2, z, 2, z, 2, z, 3, z, 3, z, 3, z, 3, z,  //
                                                6, z, 6, z, 6, z, 6, z, 7, z, 7, z, 7, z, 7, z);
    for (size_t g = 0; g < count; ++g, ++group) {
        const __m256i page = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + group->first));
        int64_t bytes;
        std::memcpy(&bytes, group->a, 8);
        const __m256i a = _mm256_permutevar8x32_epi32(page, _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(bytes)));
        std::memcpy(&bytes, group->b, 8);
        const __m256i b = _mm256_permutevar8x32_epi32(page, _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(bytes)));
        std::memcpy(&bytes, group->take, 8);
        const __m256i takes = _mm256_set1_epi64x(bytes);
        const __m256i takeLow = _mm256_shuffle_epi8(takes, spreadLow), takeHigh = _mm256_shuffle_epi8(takes, spreadHigh);
        const __m256i mixed = MixPixels(a, b, takeLow, takeHigh);
        const size_t at = g * 8;
        if (at + 8 <= width) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + at), mixed);
        } else {
            uint32_t last[8];
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(last), mixed);
            std::memcpy(to + at, last, (width - at) * sizeof(uint32_t));
        }
    }
}
#endif

void SharpScaler::Stretch(const uint32_t* from, uint32_t* to) const {
#ifdef WITH_X86_VECTORS
    if (!groups_.empty()) {
        StretchGroups(from, to);
        return;
    }
#endif
    // Blocks of four pixels or more fill faster with the wider store.
    if (factor_ >= 4) {
        StretchRuns<8>(from, to);
    } else {
        StretchRuns<4>(from, to);
    }
}

// A page row is stretched once per present, straight into the first output row that shows
// it plain, or into a spare row if none does; later rows copy or mix from there. Rows are
// asked for in order, so a spare row is needed only until the row after next.
const uint32_t* SharpScaler::StretchedRow(uint32_t sourceRow, uint8_t* out, size_t pitchBytes) {
    const uint32_t*& done = stretched_[sourceRow];
    if (done != nullptr) return done;
    const int home = home_[sourceRow];
    uint32_t* to = home >= 0 ? reinterpret_cast<uint32_t*>(out + static_cast<size_t>(home) * pitchBytes)
                             : spare_[sourceRow & 1].data();
    const uint8_t* indices = page_ + static_cast<size_t>(sourceRow) * SCREEN_WIDTH;
    if (sameWidth_) {
        PageColours::ConvertRow(pairs_, indices, to);
    } else {
        PageColours::ConvertRow(pairs_, indices, colourRow_.data());
        Stretch(colourRow_.data(), to);
    }
    done = to;
    return to;
}

void SharpScaler::Present(const uint8_t* page, const PALETTEENTRY palette[256], uint8_t* out, size_t pitchBytes) {
    pairs_ = colours_.Pairs(palette);
    page_ = page;
    stretched_.assign(SCREEN_HEIGHT, nullptr);
    const size_t rowBytes = static_cast<size_t>(width_) * sizeof(uint32_t);
    for (int y = 0; y < height_; ++y) {
        const Tap tap = rows_[static_cast<size_t>(y)];
        uint8_t* to = out + static_cast<size_t>(y) * pitchBytes;
        const auto* a = reinterpret_cast<const uint8_t*>(StretchedRow(tap.source, out, pitchBytes));
        if (tap.weight == 0) {
            if (a != to) std::memcpy(to, a, rowBytes);
            continue;
        }
        const auto* b = reinterpret_cast<const uint8_t*>(StretchedRow(tap.source + 1, out, pitchBytes));
        (wide_ ? MixRowsWide : MixRows)(a, b, to, rowBytes, tap.weight);
    }
}
