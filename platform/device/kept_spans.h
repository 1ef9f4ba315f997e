#pragma once
// Keyed copies by kept spans: the opaque spans of each source rectangle copied from a
// surface are worked out on its first keyed copy and kept until the surface's pixels or key
// change, so that a keyed copy moves whole spans instead of testing every pixel.
#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/rect.h"

// One source surface's kept spans.
struct KeptSpans {
    // Span lengths 1-3, 4-7, 8-15, 16-32, 33-64 and longer.
    static constexpr int LENGTH_CLASSES = 6;
    struct Span {
        uint16_t row, x, length;  // row and x within the rectangle
    };
    // Grouped by length class, so each group is copied by one branch-free sequence of moves:
    // a class branch per span would be mispredicted at every sprite edge.
    struct RectSpans {
        std::vector<Span> spans;
        std::array<uint32_t, LENGTH_CLASSES + 1> classStart{};
        bool opaque = false;  // no key pixel in the rectangle: one span per row, each whole
    };
    std::unordered_map<uint64_t, RectSpans> byRect;
    size_t count = 0;  // spans in all of byRect
    // The rectangle copied last: a scene copies the same picture many times in a row.
    uint64_t lastRect = 0;
    const RectSpans* last = nullptr;
};

// For when the pixels or the key the spans were worked out from change.
void ForgetKeptSpans(KeptSpans& kept);

// Copies rectangle r of the source surface, leaving out the indices keyLow..keyHigh. r names
// the rectangle among those kept; from points at its top left pixel and to at the
// destination's, each with its own pitch.
void CopyKeyed(KeptSpans& kept, const RECT& r, uint8_t keyLow, uint8_t keyHigh, uint8_t* to, size_t toPitch,
               const uint8_t* from, size_t fromPitch);
// Copies every pixel of a width x height rectangle.
void CopyAll(uint8_t* to, size_t toPitch, const uint8_t* from, size_t fromPitch, size_t width, size_t height);
