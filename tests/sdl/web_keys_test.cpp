// The browser's keys reach the game with the desktop's virtual-key codes: its own keys and the
// letters and digits as the desktop gives them, every other key 256 + SDL's scancode for it.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/web/key_codes.h"
#include "platform/window.h"

TEST(WebKeys, TheGamesKeysLettersAndDigitsAsOnTheDesktop) {
    EXPECT_EQ(VirtualKeyOf("ArrowLeft", 37), VK_LEFT);
    EXPECT_EQ(VirtualKeyOf("ArrowUp", 38), VK_UP);
    EXPECT_EQ(VirtualKeyOf("ArrowRight", 39), VK_RIGHT);
    EXPECT_EQ(VirtualKeyOf("ArrowDown", 40), VK_DOWN);
    EXPECT_EQ(VirtualKeyOf("Escape", 27), VK_ESCAPE);
    EXPECT_EQ(VirtualKeyOf("Enter", 13), 13u);
    EXPECT_EQ(VirtualKeyOf("Space", 32), 32u);
    // Letters follow the layout, as SDL's key symbols do: the key in Q's place types A on AZERTY.
    EXPECT_EQ(VirtualKeyOf("KeyQ", 'A'), uint32_t{'A'});
    EXPECT_EQ(VirtualKeyOf("Digit7", '7'), uint32_t{'7'});
}

TEST(WebKeys, OtherKeysAre256PlusTheirScancode) {
    EXPECT_EQ(VirtualKeyOf("F1", 112), 256u + SDL_SCANCODE_F1);
    EXPECT_EQ(VirtualKeyOf("Pause", 19), 256u + SDL_SCANCODE_PAUSE);
    EXPECT_EQ(VirtualKeyOf("ShiftLeft", 16), 256u + SDL_SCANCODE_LSHIFT);
    EXPECT_EQ(VirtualKeyOf("AltRight", 18), 256u + SDL_SCANCODE_RALT);
    EXPECT_EQ(VirtualKeyOf("MetaLeft", 91), 256u + SDL_SCANCODE_LGUI);
    EXPECT_EQ(VirtualKeyOf("ContextMenu", 93), 256u + SDL_SCANCODE_APPLICATION);
    EXPECT_EQ(VirtualKeyOf("IntlBackslash", 226), 256u + SDL_SCANCODE_NONUSBACKSLASH);
    EXPECT_EQ(VirtualKeyOf("NumpadEnter", 13), 256u + SDL_SCANCODE_KP_ENTER);
    // The numeric pad's digits share their legacy codes with letters; they stay keys of their own.
    EXPECT_EQ(VirtualKeyOf("Numpad1", 97), 256u + SDL_SCANCODE_KP_1);
    EXPECT_EQ(VirtualKeyOf("Numpad0", 96), 256u + SDL_SCANCODE_KP_0);
    EXPECT_EQ(VirtualKeyOf("NumpadEqual", 187), 256u + SDL_SCANCODE_KP_EQUALS);
    EXPECT_EQ(VirtualKeyOf("Unidentified", 0), 256u + SDL_SCANCODE_UNKNOWN);
}
