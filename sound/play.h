#pragma once
// Starting and stopping the clips by slot: all that the game's rules ask of the sound.
#include <cstdint>

// The slots by what their clips are heard for; each clip is the "WAVE" resource named beside
// its slot in kClipNames.
enum SoundSlot : int32_t {
    SOUND_MUSIC = 0,             // looped from every jump setup
    SOUND_BALLOON = 1,           // a balloon is collected
    SOUND_CRASH = 2,             // the jump ends in a crash
    SOUND_FORMATION = 3,         // a diver is gripped into the formation, or the player opens it
    SOUND_LANDING = 4,           // the jump ends in a landing
    SOUND_UNPLAYED = 5,          // loaded, never played
    SOUND_CANOPY_COLLISION = 6,  // the player's canopy runs into another diver
    SOUND_CLIPS = 7
};
inline constexpr const char* kClipNames[SOUND_CLIPS] = {"ORB_BGM", "ORB_GET",  "ORB_PUSH", "ORB_OPEN",
                                                        "ORB_END", "ORB_PLAN", "ORB_BREK"};

// What PlaySoundObject does with a slot; any other value does nothing.
enum PlayMode : int32_t { PLAY_LOOP = -1, PLAY_STOP = 0, PLAY_ONCE = 1 };

// Plays a loaded slot once (PLAY_ONCE), looping (PLAY_LOOP) or stops it (PLAY_STOP).
void PlaySoundObject(int32_t slot, int32_t mode);
