#include "formats/jump_link.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "formats/script.h"

namespace {

constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::string Base64Url(const std::string& bytes) {
    std::string text;
    text.reserve((bytes.size() * 4 + 2) / 3);
    uint32_t bits = 0;
    int count = 0;
    for (const unsigned char byte : bytes) {
        bits = (bits << 8) | byte;
        for (count += 8; count >= 6; count -= 6) text += kDigits[(bits >> (count - 6)) & 63];
    }
    if (count > 0) text += kDigits[(bits << (6 - count)) & 63];
    return text;
}

// Strict: the alphabet only, no padding, and the bits left over zero, as Base64Url writes them.
bool FromBase64Url(const std::string& text, std::string* bytes) {
    uint32_t bits = 0;
    int count = 0;
    for (const char c : text) {
        const char* digit = c == '\0' ? nullptr : std::strchr(kDigits, c);
        if (digit == nullptr) return false;
        bits = (bits << 6) | static_cast<uint32_t>(digit - kDigits);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes->push_back(static_cast<char>((bits >> count) & 0xFF));
        }
    }
    return count < 6 && (bits & ((1u << count) - 1)) == 0;
}

struct FreeCompressor {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};
struct FreeDecompressor {
    void operator()(libdeflate_decompressor* decompressor) const { libdeflate_free_decompressor(decompressor); }
};

bool Damaged(std::string* error) {
    *error = "The jump in this link is damaged (cut short or changed on its way?): it cannot be watched.";
    return false;
}

}  // namespace

std::string JumpLinkOf(const std::string& recording) {
    const std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor(libdeflate_alloc_compressor(12));
    if (compressor == nullptr) throw std::bad_alloc();
    std::string packed(libdeflate_zlib_compress_bound(compressor.get(), recording.size()), '\0');
    packed.resize(libdeflate_zlib_compress(compressor.get(), recording.data(), recording.size(), packed.data(),
                                              packed.size()));
    return std::to_string(kJumpLinkVersion) + "." + Base64Url(packed);
}

bool RecordingOfJumpLink(const std::string& value, std::string* recording, std::string* error) {
    const size_t dot = value.find('.');
    if (dot == 0 || dot > 9 || dot == std::string::npos ||
        value.find_first_not_of("0123456789") != dot) {
        return Damaged(error);
    }
    const int version = std::stoi(value.substr(0, dot));
    if (version > kJumpLinkVersion) {
        *error = "This jump was made by a newer Skyring: this page cannot show it.";
        return false;
    }
    std::string packed;
    if (version != kJumpLinkVersion || !FromBase64Url(value.substr(dot + 1), &packed)) return Damaged(error);
    const std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor(libdeflate_alloc_decompressor());
    if (decompressor == nullptr) throw std::bad_alloc();
    // The link does not say how long the recording is: the room doubles until it fits, up to the
    // longest recording a file may hold.
    for (size_t room = std::min(kMaxScriptBytes, 4096 + 8 * packed.size());; room = std::min(kMaxScriptBytes, 2 * room)) {
        recording->resize(room);
        size_t used = 0, made = 0;
        const libdeflate_result result = libdeflate_zlib_decompress_ex(
            decompressor.get(), packed.data(), packed.size(), recording->data(), room, &used, &made);
        if (result == LIBDEFLATE_SUCCESS && used == packed.size()) {
            recording->resize(made);
            return true;
        }
        if (result != LIBDEFLATE_INSUFFICIENT_SPACE || room == kMaxScriptBytes) break;
    }
    recording->clear();
    return Damaged(error);
}
