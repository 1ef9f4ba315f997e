#include "shell/recording.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "files/system.h"
#include "formats/script.h"
#include "shell/warn.h"

namespace {

// Written in place and flushed with every frame. A write that fails (a full disk) cuts the
// file back to the last whole frame, so that what is kept still plays, and the game goes on.
std::string recordPath;
FILE* recording = nullptr;
off_t recordedBytes = 0;
int recordingError = 0;

void RecordingFailed() {
    if (recordingError != 0) return;
    recordingError = errno != 0 ? errno : EIO;
    // A regular file goes back to its last whole frame; a device or a FIFO keeps what went through.
    [[maybe_unused]] const int cut = ftruncate(fileno(recording), recordedBytes);
    Warn(recordPath + ": " + std::strerror(recordingError) + "; the recording stops here, the game goes on");
}

std::string Now() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &parts);
    return text;
}

}  // namespace

bool RecordingStart(const std::string& path, std::string* error) {
    recordPath = path;
    recording = OpenStream(path, "wb");
    if (recording == nullptr) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    std::fprintf(recording,
                 "# Skyring %s, recorded %s\n"
                 "# Watch it with: skyring --play FILE; trace it with: skyring-replay --script FILE --trace -\n",
                 SKYRING_VERSION, Now().c_str());
    RecordingEndOfFrame();
    return true;
}

void RecordingMessage(uint32_t message, uintptr_t wParam, int64_t frame) {
    ScriptEvent event{};
    if (recording == nullptr || recordingError != 0 || !ScriptEventOf(message, wParam, frame, &event)) return;
    if (std::fputs(ScriptLine(event).c_str(), recording) < 0) RecordingFailed();
}

void RecordingEndOfFrame() {
    if (recording == nullptr || recordingError != 0) return;
    if (std::fflush(recording) != 0) return RecordingFailed();
    recordedBytes = ftello(recording);
}

bool RecordingClose(std::string* problems) {
    if (recording == nullptr) return true;
    const bool closed = std::fclose(recording) == 0;
    recording = nullptr;
    if (closed && recordingError == 0) return true;
    *problems += recordPath + ": the recording could not be written whole\n";
    return false;
}
