#pragma once
// A headless program with its window, for the display tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/display.h"
#include "platform/headless/headless.h"

inline int destroyedWindows = 0;

inline intptr_t TestWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_DESTROY) {
        ++destroyedWindows;
        return 1;
    }
    return WindowDefaultProcedure(window, message, wParam, lParam);
}

class HeadlessDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessReset();
        Display = DisplayHandles{};
        for (PALETTEENTRY& e : PaletteEntries) e = PALETTEENTRY{0, 0, 0, 0};
        destroyedWindows = 0;
        window = WindowCreate("orb", "Direct X Game ", TestWindowProc);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        ReleaseDirectDraw();
        HeadlessReset();
    }
    // The calls logged since the last clear whose operation is one of the device's releases.
    static std::vector<std::string> Releases() {
        std::vector<std::string> out;
        for (const std::string& call : HeadlessCallLog()) {
            if (call.find("Release") != std::string::npos) out.push_back(call);
        }
        return out;
    }
    WindowHandle window = nullptr;
};
