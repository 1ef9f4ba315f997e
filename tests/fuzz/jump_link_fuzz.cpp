// Any bytes as the "#jump=" value of a link: refused with a message, or read as a recording
// whose own link reads back as the same recording.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/jump_link.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string value(reinterpret_cast<const char*>(data), size);
    std::string recording, error;
    if (!RecordingOfJumpLink(value, &recording, &error)) {
        if (error.empty()) __builtin_trap();
        return 0;
    }
    std::string again;
    if (!RecordingOfJumpLink(JumpLinkOf(recording), &again, &error) || again != recording) __builtin_trap();
    return 0;
}
