#pragma once
// The rules of a jump. The frame loop calls these in its fixed order; none of them moves an
// object along its course (the scene pass does).
#include "sim/world.h"

// Jump setup, always run back to back: the world, then the aircraft, divers and music.
void InitWorld();
void InitAircraftAndDivers();
// The player back at the top, inside the aircraft.
void ResetPlayer();

// Keys into heading, speed and dive; descent, fieldY and picture. From frame 82 on.
void UpdatePlayer();
// One heading step per frame around the circle.
void UpdateAircraft();
// Sink, steer toward the player, keep the formation, wobble; picture and velocity.
void UpdateDivers();
// Catches, canopy collisions, balloons and birds around the player.
void ResolveContacts();
