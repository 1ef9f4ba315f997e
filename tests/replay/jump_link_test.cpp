// A recording carried in a link: what goes in comes out byte for byte, and a link that was cut
// short, changed or made by a newer Skyring is refused in plain words, never half read.
#include <gtest/gtest.h>

#include <string>

#include "formats/jump_link.h"
#include "formats/script.h"

namespace {

const std::string kRecording =
    "# Skyring 1.0, recorded 2024-05-01 12:00:00 +0200\n"
    "# Watch it with: skyring --play FILE; trace it with: skyring-replay --script FILE --trace -\n"
    "0 activate\n85 down left\n95 up left\n120 down down\n160 up down\n200 deactivate\n210 activate\n300 down escape\n";

std::string Read(const std::string& value, std::string* error) {
    std::string recording = "left over";
    *error = "";
    return RecordingOfJumpLink(value, &recording, error) ? recording : "refused";
}

TEST(JumpLink, ARecordingComesBackByteForByteFromAValueThatNeedsNoEscaping) {
    std::string long_one;
    for (int frame = 0; long_one.size() < 3 << 20; frame += 7) long_one += std::to_string(frame) + " down 300\n";
    for (const std::string& recording : {kRecording, std::string(), std::string("\0\xff\r\n#\xc3\xa9", 7), long_one}) {
        const std::string value = JumpLinkOf(recording);
        ASSERT_EQ(value.rfind("1.", 0), 0u);
        EXPECT_EQ(value.find_first_not_of("0123456789.ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_"),
                  std::string::npos);
        std::string error;
        EXPECT_TRUE(Read(value, &error) == recording) << error;
    }
    EXPECT_LT(JumpLinkOf(kRecording).size(), kRecording.size()) << "deflated and in base64url, it is shorter";
}

TEST(JumpLink, AValueCutShortChangedOrNotALinkIsDamaged) {
    const std::string value = JumpLinkOf(kRecording);
    std::string changed = value;
    changed[value.size() / 2] = changed[value.size() / 2] == 'A' ? 'B' : 'A';
    // More than a recording may hold (16 MiB of one byte packs small): refused, not allocated.
    const std::string bomb = JumpLinkOf(std::string(kMaxScriptBytes + 1, '0'));
    for (const std::string& bad : {value.substr(0, value.size() - 3), value.substr(0, 2), changed, value + "A",
                                   value + "=", value + "%3D", "1." + value.substr(2, 10) + "+/" + value.substr(12),
                                   value.substr(2), "." + value.substr(2), "x" + value, "0" + value.substr(1),
                                   "01234567890." + value.substr(2), std::string("1.\0", 3), std::string(), bomb}) {
        std::string error;
        EXPECT_EQ(Read(bad, &error), "refused") << bad.substr(0, 40);
        EXPECT_NE(error.find("damaged"), std::string::npos) << error;
    }
}

TEST(JumpLink, AValueOfANewerFormatSaysSoWhateverItCarries) {
    for (const std::string& newer : {"2." + JumpLinkOf(kRecording).substr(2), std::string("17.anything at all")}) {
        std::string error;
        EXPECT_EQ(Read(newer, &error), "refused");
        EXPECT_EQ(error, "This jump was made by a newer Skyring: this page cannot show it.");
    }
}

}  // namespace
