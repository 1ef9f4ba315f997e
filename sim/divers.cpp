#include <algorithm>

#include "sim/sim.h"

void UpdateAircraft() {
    GameObject& aircraft = ObjectTable[AIRCRAFT_SLOT];
    aircraft.active = 1;
    ++aircraft.heading;
    if (aircraft.heading > 36) aircraft.heading = 0;
    // Heading 36 has no frame of its own: the frame of 35 stays for a second frame.
    if (aircraft.heading <= 35) aircraft.sprite = PostureFrame(POSTURE_AIRCRAFT, aircraft.heading);
    SetVelocity(aircraft);
}

namespace {

// Turns a free diver one step toward the middle of the quarter the player lies in.
void SteerTowardPlayer(GameObject& diver, const GameObject& player) {
    const int32_t ex = player.x - diver.x;
    const int32_t ey = player.y - diver.y;
    if (ex > 0 && ey > 0) {
        if (diver.heading > 5) --diver.heading;
    } else if (ex > 0 && ey < 0) {
        if (diver.heading > 14) --diver.heading;
    } else if (ex < 0 && ey < 0) {
        if (diver.heading < 22) ++diver.heading;
    } else if (ex < 0 && ey > 0) {
        if (diver.heading < 31) ++diver.heading;
    }
}

// Places the k-th gripped diver on the ring around the player, facing it.
void KeepFormation(GameObject& diver, const GameObject& player) {
    const int32_t k = diver.formationSlot;
    const int32_t n = formationSize;
    diver.altitude = player.altitude;
    diver.heading = player.heading + (k * 36) / (n + 1);
    if (diver.heading > 36) diver.heading -= 36;
    diver.x = player.x - SineTable[diver.heading] / (30 - n);
    diver.y = player.y - CosineTable[diver.heading] / (30 - n);
}

}  // namespace

void UpdateDivers() {
    const GameObject& player = ObjectTable[PLAYER_SLOT];
    for (int32_t slot = FIRST_DIVER_SLOT; slot <= LAST_DIVER_SLOT; ++slot) {
        GameObject& diver = ObjectTable[slot];
        if (!diver.active) continue;

        const int32_t descent = Rng();
        diver.altitude += diver.altitude > 1000 ? descent % 5 - 9 : descent % 4 - 4;
        diver.fieldY = FieldY(diver);
        if (diver.altitude > 1000 && diver.formationSlot == 0) SteerTowardPlayer(diver, player);
        if (diver.formationSlot > 0) KeepFormation(diver, player);

        if (Rng() % 10 == 1) diver.heading += 1 - Rng() % 3;
        if (diver.heading > 36) diver.heading = 0;
        if (diver.heading < 0) diver.heading = 35;

        // Until the player jumps the divers keep the picture jump setup gave them.
        if (frameCounter >= 81 && diver.heading <= 35)
            diver.sprite = PostureFrame(DiverPosture(diver.altitude, false), diver.heading);
        // A spinning diver keeps the reversed course the collision gave it.
        if (frameCounter > 81 && diver.spinTimer == 0) {
            diver.speed += diver.speed > 5 ? -1 : 1;
            SetVelocity(diver);
        }
        diver.x = std::clamp(diver.x, 0, 10000);
        diver.fieldY = std::clamp(diver.fieldY, 0, 5000);
        diver.altitude = std::clamp(diver.altitude, 0, 5000);
    }
}
