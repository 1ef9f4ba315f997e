#pragma once
#include "tests/sim/sim_fixture.h"
#include "tests/view/fake_draw.h"
#include "view/view.h"

// A fresh program with a first jump set up and nothing drawn yet.
class FreshScene : public FreshWorld {
protected:
    void SetUp() override {
        FreshWorld::SetUp();
        SetUpJumpQuietly();
        DrawCalls().clear();
    }
    static GameObject& player() { return ObjectTable[PLAYER_SLOT]; }
    static const SpriteCatalogueRects& pictures() { return SpriteCatalogue; }
};
