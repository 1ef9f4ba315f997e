// Debug lines of a real backend (SDL, web) on standard error, when SKYRING_DEBUG asks for them
// (in a browser, standard error is the console). A frame can fail the same call a hundred times
// over; a run of one line shows once, with its count.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/debug.h"
#include "platform/device/hooks.h"

namespace {

const bool shown = std::getenv("SKYRING_DEBUG") != nullptr;
std::string lastShown;
int repeats = 0;

void ShowRepeats() {
    if (repeats > 0) std::fprintf(stderr, "... repeated %d times this frame\n", repeats);
    repeats = 0;
}

}  // namespace

bool DebugLinesShown() { return shown; }

void BackendDebugOutput(const char* line) {
    if (!shown) return;
    if (line == lastShown) {
        ++repeats;
        return;
    }
    ShowRepeats();
    std::fputs(line, stderr);
    lastShown = line;
}

void DeviceDebugEndOfFrame() {
    ShowRepeats();
    lastShown.clear();
}
