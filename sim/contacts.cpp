#include <cstdlib>

#include "sim/sim.h"
#include "sound/play.h"

namespace {

constexpr int32_t REACH = 30;
constexpr int32_t SPIN_FRAMES = 20;
constexpr int32_t FORMATION_LIMIT = 21;

// Distance on the screen plane: the sum of the two absolute differences.
int32_t Distance(const GameObject& a, const GameObject& b) {
    return std::abs(a.x - b.x) + std::abs(a.fieldY - b.fieldY);
}

void CanopyRules(const GameObject& player) {
    for (int32_t slot = FIRST_DIVER_SLOT; slot <= LAST_DIVER_SLOT; ++slot) {
        GameObject& diver = ObjectTable[slot];
        if (!diver.active) continue;
        if (Distance(player, diver) < REACH && diver.spinTimer == 0) {
            PlaySoundObject(SOUND_CANOPY_COLLISION, PLAY_ONCE);
            diver.spinTimer = SPIN_FRAMES;
            ObjectTable[PLAYER_SLOT].spinTimer = SPIN_FRAMES;
            diver.dx = -diver.dx;
            diver.dy = -diver.dy;
        }
        // The spin has run out: the collision costs the jump.
        if (diver.spinTimer == 1) crashed = 1;
    }
}

// Grips the first free diver in reach; true when one was caught.
bool CatchDiver(const GameObject& player) {
    if (formationSize >= FORMATION_LIMIT) return false;
    for (int32_t slot = FIRST_DIVER_SLOT; slot <= LAST_DIVER_SLOT; ++slot) {
        GameObject& diver = ObjectTable[slot];
        if (!diver.active || diver.formationSlot != 0 || Distance(player, diver) >= REACH) continue;
        PlaySoundObject(SOUND_FORMATION, PLAY_ONCE);
        ++catchCount;
        ++formationSize;
        diver.formationSlot = formationSize;
        return true;
    }
    return false;
}

// The items around the player's fieldY; their index is their place in the field.
void ProbeItems(const GameObject& player) {
    for (int32_t k = 1; k <= 30; ++k) {
        const int32_t i = player.fieldY - 15 + k;
        if (i < 1 || i > ITEM_COUNT) continue;
        if (std::abs(player.x - ItemField.itemX[i]) >= REACH || ItemField.itemKind[i] <= ITEM_CLOUD) continue;
        if (ItemField.itemKind[i] == ITEM_BALLOON) {
            PlaySoundObject(SOUND_BALLOON, PLAY_ONCE);
            ++balloonCount;
            ItemField.itemKind[i] = ITEM_NONE;
            return;
        }
        crashed = 1;
    }
}

}  // namespace

void ResolveContacts() {
    const GameObject& player = ObjectTable[PLAYER_SLOT];
    if (player.altitude < 1000) {
        CanopyRules(player);
    } else if (CatchDiver(player)) {
        return;  // no probe in a frame with a catch
    }
    ProbeItems(player);
}
