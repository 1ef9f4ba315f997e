#pragma once
// One line of the per-frame trace, and the checksums it carries.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// CRC-32 as zlib and PNG compute it, from 0, over the item field's three arrays (indices
// 1..5000, each value as 4 little-endian bytes).
uint32_t ItemFieldCrc();
// The same CRC over a 640 x 480 page of indices, row by row from the top-left.
uint32_t PageCrc(const uint8_t* page);

// The trace line of a frame, without its line end.
std::string TraceLine(int64_t frame, uint32_t screenCrc, const std::vector<std::pair<int32_t, int32_t>>& sounds,
                      size_t debugLines);
