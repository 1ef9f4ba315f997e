#include "gfx/packed_bitmap.h"

#include "platform/bytes.h"

namespace {

constexpr uint32_t kInfoHeaderSize = 40;

}  // namespace

bool ReadBitmapColours(const uint8_t* bytes, size_t size, PackedBitmap* bitmap) {
    if (bytes == nullptr || size < kInfoHeaderSize) return false;
    const uint32_t headerSize = Read32(bytes);
    if (headerSize < kInfoHeaderSize || headerSize > size) return false;
    const int32_t width = static_cast<int32_t>(Read32(bytes + 4));
    const int32_t height = static_cast<int32_t>(Read32(bytes + 8));
    const uint16_t bitCount = Read16(bytes + 14);
    const uint32_t clrUsed = Read32(bytes + 32);
    uint32_t count = clrUsed;
    if (count == 0) {
        if (bitCount > 8) return false;  // such bitmaps carry no table the palette could take
        count = 1u << bitCount;
    }
    if (count > 256) return false;
    if (count * 4u > size - headerSize) return false;
    bitmap->width = width;
    bitmap->height = height == INT32_MIN ? 0 : (height < 0 ? -height : height);
    bitmap->bottomUp = height > 0;
    bitmap->bitCount = bitCount;
    bitmap->colourCount = count;
    bitmap->colours = bytes + headerSize;
    bitmap->pixels = nullptr;
    bitmap->stride = 0;
    return true;
}

bool ReadBitmap8(const uint8_t* bytes, size_t size, PackedBitmap* bitmap) {
    if (!ReadBitmapColours(bytes, size, bitmap)) return false;
    const uint32_t compression = Read32(bytes + 16);
    if (bitmap->bitCount != 8 || compression != 0 || bitmap->width <= 0 || bitmap->height <= 0) return false;
    if (bitmap->width > 65536 || bitmap->height > 65536) return false;
    const size_t offset = static_cast<size_t>(bitmap->colours - bytes) + size_t{bitmap->colourCount} * 4;
    const size_t stride = (static_cast<size_t>(bitmap->width) + 3) / 4 * 4;
    const size_t needed = stride * static_cast<size_t>(bitmap->height);
    if (offset > size || needed > size - offset) return false;
    bitmap->pixels = bytes + offset;
    bitmap->stride = stride;
    return true;
}
