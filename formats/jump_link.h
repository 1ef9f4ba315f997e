#pragma once
// A recording carried in an address, so that a jump travels as a link and the site needs no
// server: the value of the address's "#jump=" is the link format's number, a dot, and the
// recording's text deflated (in the zlib format, whose checksum tells a changed link from a jump,
// at libdeflate's strongest level) and written in base64url.
#include <string>

// The link format's number; it covers the recording inside too. A change that an older page
// would misread (in the packing or in what a recording holds) takes the next number, and older
// pages refuse it in plain words. Whatever follows, the value begins with digits and a dot.
constexpr int kJumpLinkVersion = 1;

// The "#jump=" value of a recording.
std::string JumpLinkOf(const std::string& recording);
// The recording a "#jump=" value carries; false with a message for the player when the value is
// damaged (cut short, mistyped) or made by a newer Skyring. The recording itself is checked when
// it is played.
bool RecordingOfJumpLink(const std::string& value, std::string* recording, std::string* error);
