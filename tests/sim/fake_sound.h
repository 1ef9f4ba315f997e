#pragma once
// A stand-in for the sound library that remembers every play request.
#include <cstdint>
#include <vector>

#include "sound/play.h"

struct SoundRequest {
    int32_t slot;
    int32_t mode;
    bool operator==(const SoundRequest& other) const { return slot == other.slot && mode == other.mode; }
};

std::vector<SoundRequest>& SoundRequests();
