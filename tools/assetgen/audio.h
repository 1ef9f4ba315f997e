#pragma once
// The seven clips, synthesised from scratch.
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Clip {
    std::string name;        // resource name, also the file name without ".wav"
    int rate;                // frames per second
    int channels;            // 1 or 2
    int bits;                // 8 (unsigned) or 16 (signed)
    std::vector<uint8_t> data;  // the samples as stored after the header
};

std::vector<Clip> MakeClips();

}  // namespace assetgen
