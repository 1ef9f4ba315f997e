#pragma once
// A whole headless program: real assets, the game's own start-up and frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/game.h"
#include "platform/headless/headless.h"
#include "sim/world.h"
#include "sound/sound.h"

inline std::vector<std::pair<int32_t, int32_t>> soundRequests;
inline void RecordSoundRequest(int32_t slot, int32_t mode) { soundRequests.emplace_back(slot, mode); }

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessReset();
        ResetGameState();
        soundRequests.clear();
        SetPlaySoundObserver(RecordSoundRequest);
    }
    void TearDown() override {
        SetPlaySoundObserver(nullptr);
        // A program still running is closed the way the player would close it.
        if (mainWindow != nullptr && HeadlessWindow() != nullptr) {
            MessagePost(HeadlessWindow(), WM_CLOSE, 0, 0);
            PumpMessages();
        }
        mainWindow = nullptr;
        HeadlessReset();
    }
    void Start() { ASSERT_EQ(StartUp(), 1); }
    static GameObject& Player() { return ObjectTable[PLAYER_SLOT]; }
    static bool Logged(const std::string& call) {
        const auto& log = HeadlessCallLog();
        return std::find(log.begin(), log.end(), call) != log.end();
    }
};
