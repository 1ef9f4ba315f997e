// skyring-replay: its scripts, its trace and its pictures.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/headless/headless.h"
#include "sim/world.h"
#include "tools/replay/replay.h"
#include "formats/script.h"
#include "tests/trace_fields.h"

namespace {

std::vector<ScriptEvent> Parse(const std::string& text, std::string* error = nullptr) {
    std::vector<ScriptEvent> events;
    std::string ignored;
    const bool ok = ParseScript(text, "keys.txt", &events, error ? error : &ignored);
    if (!ok) events.clear();
    return events;
}

TEST(ReplayScript, ReadsEveryKindOfEventAndSkipsCommentsAndBlankLines) {
    const auto events = Parse(
        "# a comment\n\n0 down left\n0 up left\r\n3 down 65\n  7   activate  \n7 deactivate\n9 down escape\n"
        "12 close\n12 down up\n12 down right\n13 up down\n");
    ASSERT_EQ(events.size(), 10u);
    EXPECT_EQ(events[0].action, ScriptAction::KeyDown);
    EXPECT_EQ(events[0].key, 37u);
    EXPECT_EQ(events[1].action, ScriptAction::KeyUp);
    EXPECT_EQ(events[2].key, 65u);
    EXPECT_EQ(events[2].frame, 3);
    EXPECT_EQ(events[3].action, ScriptAction::Activate);
    EXPECT_EQ(events[4].action, ScriptAction::Deactivate);
    EXPECT_EQ(events[5].key, 27u);
    EXPECT_EQ(events[6].action, ScriptAction::Close);
    EXPECT_EQ(events[7].key, 38u);
    EXPECT_EQ(events[8].key, 39u);
    EXPECT_EQ(events[9].key, 40u);
}

TEST(ReplayScript, WhatTheGameRecordsReadsBackAsTheSameEvents) {
    std::string text;
    std::vector<ScriptEvent> written;
    const std::pair<uint32_t, uintptr_t> messages[] = {{WM_ACTIVATEAPP, 1}, {WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, 300},
                                                       {WM_ACTIVATEAPP, 0}, {WM_KEYDOWN, VK_ESCAPE}, {WM_CLOSE, 0}};
    int64_t frame = 0;
    for (const auto& [message, wParam] : messages) {
        ScriptEvent event{};
        ASSERT_TRUE(ScriptEventOf(message, wParam, frame += 3, &event));
        written.push_back(event);
        text += ScriptLine(event);
    }
    ScriptEvent none{};
    EXPECT_FALSE(ScriptEventOf(WM_SETCURSOR, 0, 0, &none));
    const auto read = Parse(text);
    ASSERT_EQ(read.size(), written.size()) << text;
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].frame, written[i].frame) << text;
        EXPECT_EQ(read[i].action, written[i].action) << text;
        EXPECT_EQ(read[i].key, written[i].key) << text;
    }
    EXPECT_NE(text.find("6 down left\n"), std::string::npos) << text;
}

TEST(ReplayScript, NamesTheFileAndLineOfTheFirstBadLine) {
    for (auto [text, expected] : std::vector<std::pair<std::string, std::string>>{
             {"x down left\n", "keys.txt:1: frame"},
             {"-1 down left\n", "keys.txt:1: frame"},
             {"5 down left\n4 up left\n", "keys.txt:2: frames must not go backwards"},
             {"1\n", "keys.txt:1: missing action"},
             {"# ok\n1 jump\n", "keys.txt:2: unknown action 'jump'"},
             {"1 down\n", "keys.txt:1: missing key"},
             {"1 down space\n", "keys.txt:1: unknown key 'space'"},
             {"1 down 70000\n", "keys.txt:1: unknown key '70000'"},
             {"1 close now\n", "keys.txt:1: unexpected text"},
             {"99999999999999 close\n", "keys.txt:1: frame"},
             // Bytes a message could not show as they are, escaped: a byte-order mark, NULs.
             {"\xEF\xBB\xBF" "0 close\n", "keys.txt:1: frame must be a number 0..2147483647: '\\xef\\xbb\\xbf0'"},
             {"1 close\n" + std::string(5000, '\0'), "keys.txt:2: line longer than 4096 bytes: '\\x00\\x00\\x00"},
         }) {
        std::string error;
        EXPECT_TRUE(Parse(text, &error).empty()) << text;
        EXPECT_EQ(error.rfind(expected, 0), 0u) << text << " gave " << error;
        EXPECT_LT(error.size(), 200u) << "a bad line is quoted short";
    }
}

std::vector<std::string> TraceOf(const std::string& script, int64_t frames, ReplayResult* result = nullptr) {
    ReplayOptions options;
    options.frames = frames;
    options.events = Parse(script);
    char* text = nullptr;
    size_t size = 0;
    options.trace = open_memstream(&text, &size);
    ReplayResult r = RunReplay(options);
    std::fclose(options.trace);
    if (result != nullptr) *result = r;
    std::vector<std::string> lines;
    std::istringstream in(std::string(text, size));
    std::free(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Replay, TraceShowsTheFirstJumpAsTheGameTextFixesIt) {
    const auto lines = TraceOf("", 90);
    ASSERT_EQ(lines.size(), 90u);
    EXPECT_EQ(lines[0].rfind("{\"frame\":0,\"frameCounter\":1,\"restartRequested\":0,", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("\"sounds\":[[0,-1]]"), std::string::npos);
    EXPECT_NE(lines[1].find("\"sounds\":[]"), std::string::npos);
    // Divers stand where the first jump setup put them until they get a velocity.
    EXPECT_EQ(ObjectOf(lines[0], 31).rfind("[31,1,4312,2500,", 0), 0u) << ObjectOf(lines[0], 31);
    EXPECT_EQ(ObjectOf(lines[0], 32).rfind("[32,1,3676,2500,", 0), 0u);
    EXPECT_EQ(ObjectOf(lines[0], 51).rfind("[51,1,6817,2500,", 0), 0u);
    // The player is in play from the frame counted 81, and steered from 82.
    EXPECT_EQ(Field(lines[80], "frameCounter"), "81");
    EXPECT_EQ(ObjectOf(lines[80], 0).rfind("[0,0,", 0), 0u);
    EXPECT_EQ(ObjectOf(lines[81], 0).rfind("[0,1,5000,2500,", 0), 0u);
    EXPECT_NE(ObjectOf(lines[81], 0).find(",5000,0]"), std::string::npos) << "altitude 5000 before the first update";
    // Frame 82 begins with the counter at 82: the player's first update.
    EXPECT_EQ(ObjectOf(lines[82], 0).find(",5000,0]"), std::string::npos) << "falling from the first update on";
    EXPECT_NE(Field(lines[10], "debugLines"), "");
}

TEST(Replay, TheSameScriptGivesTheSameTrace) {
    const std::string script = "85 down left\n95 up left\n100 down down\n110 up down\n";
    EXPECT_EQ(TraceOf(script, 150), TraceOf(script, 150));
    EXPECT_NE(TraceOf(script, 150), TraceOf("", 150));
}

TEST(Replay, ReactivationPutsThePlayerBackAtTheTop) {
    const auto lines = TraceOf("120 deactivate\n130 activate\n", 140);
    ASSERT_EQ(lines.size(), 140u);
    EXPECT_EQ(ObjectOf(lines[129], 0).find(",5000,0]"), std::string::npos);
    EXPECT_NE(ObjectOf(lines[130], 0).find(",5000,0]"), std::string::npos) << ObjectOf(lines[130], 0);
}

TEST(Replay, EscapeEndsTheRunInsideItsFrame) {
    ReplayResult result;
    const auto lines = TraceOf("40 down escape\n", 100, &result);
    EXPECT_TRUE(result.ended);
    EXPECT_EQ(result.framesRun, 41);
    EXPECT_EQ(lines.size(), 40u);
    EXPECT_EQ(HeadlessWindow(), nullptr);
}

TEST(Replay, PicturesAreReadablePngsInThePalettesColours) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "skyring-replay-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ReplayOptions options;
    options.frames = 5;
    options.pngDirectory = dir.string();
    options.pngEvery = 2;
    ASSERT_TRUE(RunReplay(options).error.empty());
    EXPECT_TRUE(std::filesystem::exists(dir / "frame-000000.png"));
    EXPECT_FALSE(std::filesystem::exists(dir / "frame-000001.png"));
    ASSERT_TRUE(std::filesystem::exists(dir / "frame-000004.png"));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, (dir / "frame-000004.png").c_str()), 0);
    EXPECT_EQ(image.width, 640u);
    EXPECT_EQ(image.height, 480u);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0);
    const uint8_t* page = HeadlessVisiblePage();  // the run's last flip showed frame 4
    const PALETTEENTRY* palette = HeadlessPalette();
    int mismatches = 0;
    for (int i = 0; i < 640 * 480; ++i) {
        const PALETTEENTRY c = palette[page[i]];
        mismatches += rgb[3 * i] != c.peRed || rgb[3 * i + 1] != c.peGreen || rgb[3 * i + 2] != c.peBlue;
    }
    EXPECT_EQ(mismatches, 0);
    std::filesystem::remove_all(dir);
}

}  // namespace
