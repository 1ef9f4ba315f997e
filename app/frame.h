#pragma once
// The game's work of one frame, between the restart and the wait, apart from the wait and the
// devices so that the whole-jump tests run the very same steps over fake drawing and sound.

// The updates and both draws in their fixed order: UpdatePlayer once the player has left the
// aircraft, UpdateAircraft, DrawScene, UpdateDivers, ResolveContacts, DrawStatus.
void UpdateAndDrawFrame();
