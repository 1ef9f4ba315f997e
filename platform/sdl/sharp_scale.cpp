#include "platform/sdl/sharp_scale.h"

#include <cstring>

namespace {

// Both 8-bit channels in the masked lanes of a and b mixed at once, rounded.
inline uint32_t MixLanes(uint32_t a, uint32_t b, uint32_t weight) {
    return ((a * (256 - weight) + b * weight + 0x00800080u) >> 8) & 0x00FF00FFu;
}

inline uint32_t Mix(uint32_t a, uint32_t b, uint32_t weight) {
    return MixLanes(a & 0x00FF00FFu, b & 0x00FF00FFu, weight) |
           MixLanes(a >> 8 & 0x00FF00FFu, b >> 8 & 0x00FF00FFu, weight) << 8;
}

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
    columns_ = Taps(SCREEN_WIDTH, factor, width);
    rows_ = Taps(SCREEN_HEIGHT, factor, height);
    for (std::vector<uint32_t>& row : stretched_) row.assign(static_cast<size_t>(width), 0);
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
    const Tap* tap = columns_.data();
    for (int x = 0; x < width_; ++x, ++tap) {
        const uint32_t a = from[tap->source];
        to[x] = tap->weight == 0 ? a : Mix(a, from[tap->source + 1], tap->weight);
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
