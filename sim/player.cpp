#include <algorithm>

#include "sim/sim.h"
#include "sound/play.h"

void UpdatePlayer() {
    GameObject& player = ObjectTable[PLAYER_SLOT];
    bool diving = false;
    if (ControlFlags & CONTROL_LEFT) ++player.heading;
    if (ControlFlags & CONTROL_RIGHT) --player.heading;
    if (ControlFlags & CONTROL_DOWN) {
        player.speed -= 5;
        diving = true;
    }
    // The release repeats while Up is held, sound and all: formationSize never drops.
    if ((ControlFlags & CONTROL_UP) && formationSize >= 1) {
        PlaySoundObject(SOUND_FORMATION, PLAY_ONCE);
        for (int32_t slot = FIRST_DIVER_SLOT; slot <= LAST_DIVER_SLOT; ++slot) ObjectTable[slot].formationSlot = -1;
    }
    // Set, not shifted by 36: the 37 a spin may leave becomes 0.
    if (player.heading < 0) player.heading = 35;
    if (player.heading > 35) player.heading = 0;
    player.speed = std::clamp(player.speed, 0, 10);
    // A spinning diver drifts on its old course.
    if (player.spinTimer == 0) SetVelocity(player);
    player.speed += player.speed > 5 ? -1 : 1;

    const int32_t descent = Rng() % 2;
    player.altitude += player.altitude > 1000 ? descent - 6 : descent - 3;
    if (diving) player.altitude -= 5;
    player.fieldY = FieldY(player);
    // Chosen before the clamp, so the canopy shows in the update that crosses 1000.
    player.sprite = PostureFrame(DiverPosture(player.altitude, diving), player.heading);
    player.x = std::clamp(player.x, 0, 10000);
    player.fieldY = std::clamp(player.fieldY, 0, 5000);
    player.altitude = std::clamp(player.altitude, 0, 5000);
}
