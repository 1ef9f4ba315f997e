#pragma once
// The rules of a jump. The frame loop calls these in its fixed order; none of them moves an
// object along its course (the scene pass does).
#include "sim/world.h"

// Jump setup: InitWorld, then InitAircraftAndDivers (the aircraft, divers and music).
void SetUpJump();
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

// A frame's first step: when the last jump ended, a new one, with frameCounter at 1.
void RestartIfRequested();
// A frame's last step, after the flip: the frame counted, then the landing (best counts
// kept) and the crash, each with its sound and a restart for the next frame.
void EndFrame();
