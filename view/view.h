#pragma once
// The picture of a frame.

// Paints the whole scene back to front and on its way advances the world by one frame:
// moves active objects by their velocity, counts down spins, marks canopy openings, puts
// the player in play from frame 81 and drifts the birds in view.
void DrawScene();
// The balloon and catch star columns and the altimeter; caps the current counts at 29.
void DrawStatus();
