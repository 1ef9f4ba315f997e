#include "shell/recording.h"

#include <ctime>

#include "formats/script.h"

namespace {

std::string text;
bool recording = false;

std::string Now() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char stamp[64];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S %z", &parts);
    return stamp;
}

}  // namespace

void RecordingBegin() {
    text = "# Skyring " SKYRING_VERSION ", recorded " + Now() +
           "\n# Watch it with: skyring --play FILE; trace it with: skyring-replay --script FILE --trace -\n";
    recording = true;
}

void RecordingMessage(uint32_t message, uintptr_t wParam, int64_t frame) {
    ScriptEvent event{};
    if (recording && ScriptEventOf(message, wParam, frame, &event)) text += ScriptLine(event);
}

const std::string& RecordingText() { return text; }
