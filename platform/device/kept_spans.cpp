#include "platform/device/kept_spans.h"

#include <algorithm>
#include <cstring>

namespace {

using Span = KeptSpans::Span;
using RectSpans = KeptSpans::RectSpans;

int SpanClass(uint16_t length) {
    if (length < 4) return 0;
    if (length < 8) return 1;
    if (length < 16) return 2;
    if (length <= 32) return 3;
    if (length <= 64) return 4;
    return 5;
}

// A program that copies from ever new rectangles should not grow the cache without end: past
// this many spans (6 MB) it starts again. The game's own pictures need about 7,000.
constexpr size_t MAX_KEPT_SPANS = 1 << 20;

const RectSpans& OpaqueSpans(KeptSpans& kept, const RECT& r, uint8_t keyLow, uint8_t keyHigh, const uint8_t* from,
                             size_t fromPitch) {
    // Each side lies in 0..4096, so 16 bits apiece tell every rectangle apart.
    const uint64_t key = uint64_t(uint16_t(r.left)) | uint64_t(uint16_t(r.top)) << 16 |
                         uint64_t(uint16_t(r.right)) << 32 | uint64_t(uint16_t(r.bottom)) << 48;
    if (kept.last != nullptr && kept.lastRect == key) return *kept.last;
    kept.lastRect = key;
    auto found = kept.byRect.find(key);
    if (found != kept.byRect.end()) {
        kept.last = &found->second;  // the map's nodes stay put until it is cleared
        return found->second;
    }
    if (kept.count >= MAX_KEPT_SPANS) ForgetKeptSpans(kept);
    RectSpans& made = kept.byRect[key];
    kept.last = &made;
    std::vector<Span>& spans = made.spans;
    auto transparent = [keyLow, keyHigh](uint8_t index) { return index >= keyLow && index <= keyHigh; };
    const int32_t width = r.right - r.left;
    const int32_t height = r.bottom - r.top;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = from + static_cast<size_t>(y) * fromPitch;
        int32_t x = 0;
        while (x < width) {
            while (x < width && transparent(row[x])) ++x;
            const int32_t start = x;
            while (x < width && !transparent(row[x])) ++x;
            if (x > start) {
                spans.push_back(
                    {static_cast<uint16_t>(y), static_cast<uint16_t>(start), static_cast<uint16_t>(x - start)});
            }
        }
    }
    kept.count += spans.size();
    // A span as wide as the rectangle in each of its rows leaves no room for a key pixel.
    made.opaque = spans.size() == static_cast<size_t>(height) &&
                  std::all_of(spans.begin(), spans.end(), [width](const Span& span) { return span.length == width; });
    std::stable_sort(spans.begin(), spans.end(),
                     [](const Span& a, const Span& b) { return SpanClass(a.length) < SpanClass(b.length); });
    for (int c = 0; c <= KeptSpans::LENGTH_CLASSES; ++c) {
        made.classStart[static_cast<size_t>(c)] = static_cast<uint32_t>(
            std::partition_point(spans.begin(), spans.end(),
                                 [c](const Span& span) { return SpanClass(span.length) < c; }) -
            spans.begin());
    }
    return made;
}

// Copies a span of N..2N bytes as its first and its last N bytes, which may overlap.
template <size_t N>
inline void MoveEnds(uint8_t* to, const uint8_t* from, size_t length) {
    std::memcpy(to, from, N);
    std::memcpy(to + length - N, from + length - N, N);
}

// Copies one span of a length class with overlapping fixed-size moves; only the longest class
// loops.
template <int Class>
inline void CopySpan(uint8_t* t, const uint8_t* f, size_t n) {
    if constexpr (Class == 0) {
        const uint8_t first = f[0], middle = f[n / 2], last = f[n - 1];
        t[0] = first;
        t[n / 2] = middle;
        t[n - 1] = last;
    } else if constexpr (Class == 5) {
        for (size_t done = 0; done + 64 < n; done += 64) MoveEnds<32>(t + done, f + done, 64);
        MoveEnds<32>(t + n - 64, f + n - 64, 64);
    } else {
        MoveEnds<size_t{2} << Class>(t, f, n);
    }
}

template <int Class>
void CopySpans(const RectSpans& rect, uint8_t* to, size_t toPitch, const uint8_t* from, size_t fromPitch) {
    const Span* span = rect.spans.data() + rect.classStart[Class];
    const Span* end = rect.spans.data() + rect.classStart[Class + 1];
    for (; span != end; ++span) {
        CopySpan<Class>(to + span->row * toPitch + span->x, from + span->row * fromPitch + span->x, span->length);
    }
}

// A rectangle without a key pixel, such as a tile, goes row by row: no span to look up.
template <int Class>
void CopyRows(uint8_t* to, size_t toPitch, const uint8_t* from, size_t fromPitch, size_t width, size_t height) {
    for (size_t row = 0; row < height; ++row) CopySpan<Class>(to + row * toPitch, from + row * fromPitch, width);
}

}  // namespace

void ForgetKeptSpans(KeptSpans& kept) {
    if (!kept.byRect.empty()) kept.byRect.clear();
    kept.count = 0;
    kept.last = nullptr;
}

void CopyKeyed(KeptSpans& kept, const RECT& r, uint8_t keyLow, uint8_t keyHigh, uint8_t* to, size_t toPitch,
               const uint8_t* from, size_t fromPitch) {
    const RectSpans& spans = OpaqueSpans(kept, r, keyLow, keyHigh, from, fromPitch);
    if (spans.opaque) {
        CopyAll(to, toPitch, from, fromPitch, static_cast<size_t>(r.right - r.left),
                static_cast<size_t>(r.bottom - r.top));
        return;
    }
    CopySpans<0>(spans, to, toPitch, from, fromPitch);
    CopySpans<1>(spans, to, toPitch, from, fromPitch);
    CopySpans<2>(spans, to, toPitch, from, fromPitch);
    CopySpans<3>(spans, to, toPitch, from, fromPitch);
    CopySpans<4>(spans, to, toPitch, from, fromPitch);
    CopySpans<5>(spans, to, toPitch, from, fromPitch);
}

void CopyAll(uint8_t* to, size_t toPitch, const uint8_t* from, size_t fromPitch, size_t width, size_t height) {
    switch (SpanClass(static_cast<uint16_t>(width))) {
        case 0: CopyRows<0>(to, toPitch, from, fromPitch, width, height); break;
        case 1: CopyRows<1>(to, toPitch, from, fromPitch, width, height); break;
        case 2: CopyRows<2>(to, toPitch, from, fromPitch, width, height); break;
        case 3: CopyRows<3>(to, toPitch, from, fromPitch, width, height); break;
        case 4: CopyRows<4>(to, toPitch, from, fromPitch, width, height); break;
        default: CopyRows<5>(to, toPitch, from, fromPitch, width, height); break;
    }
}
