#include "tests/sim/fake_sound.h"

#include "sound/play.h"

std::vector<SoundRequest>& SoundRequests() {
    static std::vector<SoundRequest> requests;
    return requests;
}

void PlaySoundObject(int32_t slot, int32_t mode) { SoundRequests().push_back({slot, mode}); }
