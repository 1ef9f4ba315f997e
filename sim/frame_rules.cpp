#include "sim/sim.h"
#include "sound/play.h"

namespace {

// Far past the 81 frames aboard, so a wrapped count keeps the player in play.
constexpr int32_t FRAME_COUNT_WRAP = 30000;
constexpr int32_t FRAME_COUNT_AFTER_WRAP = 200;

}  // namespace

void RestartIfRequested() {
    if (restartRequested == 0) return;
    SetUpJump();
    frameCounter = 1;
    restartRequested = 0;
}

void EndFrame() {
    frameCounter += 1;
    if (frameCounter >= FRAME_COUNT_WRAP) frameCounter = FRAME_COUNT_AFTER_WRAP;
    if (ObjectTable[PLAYER_SLOT].altitude < 1) {
        restartRequested = 1;
        if (bestBalloonCount < balloonCount) bestBalloonCount = balloonCount;
        if (bestCatchCount < catchCount) bestCatchCount = catchCount;
        PlaySoundObject(SOUND_LANDING, PLAY_ONCE);
    }
    if (crashed == 1) {
        PlaySoundObject(SOUND_CRASH, PLAY_ONCE);
        restartRequested = 1;
    }
}
