#pragma once
// Every test starts from a fresh program: zeroed world, Rng at 1, no sounds heard.
#include <gtest/gtest.h>

#include "sim/sim.h"
#include "tests/sim/fake_sound.h"

class FreshWorld : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGameState();
        SoundRequests().clear();
    }
    // A jump set up as the program does it, the sounds of the setup forgotten.
    static void SetUpJumpQuietly() {
        SetUpJump();
        SoundRequests().clear();
    }
    // Every diver parked far away so that only the divers a test places take part.
    void ParkDivers() {
        for (int32_t slot = FIRST_DIVER_SLOT; slot <= LAST_DIVER_SLOT; ++slot) ObjectTable[slot].active = 0;
    }
    // The value of the n-th draw from now (1 = the next), without taking any.
    static int32_t DrawAhead(int n) { return static_cast<int32_t>((StateAfterDraws(rngState, n) >> 16) & 0x7FFF); }
    static int32_t PeekDraw() { return DrawAhead(1); }
    // Moves the generator on, one draw at a time, until the draws ahead pass the test.
    template <typename Test>
    static void SkipDrawsUntilAhead(Test test) {
        while (!test()) rngState = StateAfterDraws(rngState, 1);
    }
    template <typename Test>
    static void SkipDrawsUntil(Test test) {
        SkipDrawsUntilAhead([&] { return test(PeekDraw()); });
    }
    // An independent copy of the generator, for counting draws.
    static uint32_t StateAfterDraws(uint32_t state, int64_t draws) {
        for (int64_t i = 0; i < draws; ++i) state = state * 214013u + 2531011u;
        return state;
    }
};
