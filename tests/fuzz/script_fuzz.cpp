// Any bytes as a recording (a replay script): parsed or refused with a line number, and every
// event parsed writes back as a line that parses to the same event.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ScriptEvent> events;
    std::string error;
    if (!ParseScript(text, "fuzz.txt", &events, &error)) {
        if (error.rfind("fuzz.txt:", 0) != 0) __builtin_trap();
        return 0;
    }
    std::string written;
    for (const ScriptEvent& event : events) written += ScriptLine(event);
    std::vector<ScriptEvent> again;
    if (!ParseScript(written, "again.txt", &again, &error) || again.size() != events.size()) __builtin_trap();
    for (size_t i = 0; i < events.size(); ++i) {
        if (again[i].frame != events[i].frame || again[i].action != events[i].action || again[i].key != events[i].key) {
            __builtin_trap();
        }
    }
    return 0;
}
