#include "shell/live_trace.h"

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "files/output_file.h"
#include "formats/trace.h"
#include "platform/device/hooks.h"
#include "sound/sound.h"

namespace {

OutputFile trace;
bool tracing = false;
int traceError = 0;
std::vector<std::pair<int32_t, int32_t>> sounds;
size_t debugLinesSeen = 0;

void HearSound(int32_t slot, int32_t mode) { sounds.emplace_back(slot, mode); }

}  // namespace

void LiveTraceListen() { SetPlaySoundObserver(HearSound); }

bool LiveTraceStart(const std::string& path, std::string* error) {
    if (!trace.Open(path, error)) return false;
    tracing = true;
    return true;
}

void LiveTraceFrame(int64_t frame) {
    if (tracing && traceError == 0) {
        const size_t debugLines = DeviceDebugLineCount();
        std::string line = TraceLine(frame, PageCrc(DeviceVisiblePage()), sounds, debugLines - debugLinesSeen);
        debugLinesSeen = debugLines;
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), trace.stream());
        if (std::ferror(trace.stream())) traceError = errno != 0 ? errno : EIO;
    }
    sounds.clear();
}

bool LiveTraceClose(std::string* problems) {
    if (!tracing) return true;
    SetPlaySoundObserver(nullptr);
    tracing = false;
    std::string problem;
    if (traceError == 0 && trace.Commit(&problem)) return true;
    if (traceError != 0) problem = trace.name() + ": " + std::strerror(traceError);
    *problems += problem + "\n";
    return false;
}
