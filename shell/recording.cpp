#include "shell/recording.h"

#include "formats/script.h"
#include "shell/local_time.h"

namespace {

std::string text;
bool recording = false;

}  // namespace

void RecordingBegin() {
    text = "# Skyring " SKYRING_VERSION ", recorded " + LocalTime("%Y-%m-%d %H:%M:%S %z") +
           "\n# Watch it with: skyring --play FILE; trace it with: skyring-replay --script FILE --trace -\n";
    recording = true;
}

void RecordingMessage(uint32_t message, uintptr_t wParam, int64_t frame) {
    ScriptEvent event{};
    if (recording && ScriptEventOf(message, wParam, frame, &event)) text += ScriptLine(event);
}

const std::string& RecordingText() { return text; }
