#include "shell/recording_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "files/system.h"
#include "shell/recording.h"
#include "shell/warn.h"

namespace {

// Written in place and flushed with every frame. A write that fails (a full disk) cuts the
// file back to the last whole frame, so that what is kept still plays, and the game goes on.
std::string recordPath;
FILE* recording = nullptr;
size_t writtenBytes = 0;  // of the recording's text, all in the file at the end of a frame
int recordingError = 0;

void RecordingFailed() {
    if (recordingError != 0) return;
    recordingError = errno != 0 ? errno : EIO;
    // A regular file goes back to its last whole frame; a device or a FIFO keeps what went through.
    [[maybe_unused]] const int cut = ftruncate(fileno(recording), static_cast<off_t>(writtenBytes));
    Warn(recordPath + ": " + std::strerror(recordingError) + "; the recording stops here, the game goes on");
}

}  // namespace

bool RecordingFileStart(const std::string& path, std::string* error) {
    recordPath = path;
    recording = OpenStream(path, "wb");
    if (recording == nullptr) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    RecordingBegin();
    RecordingFileEndOfFrame();
    return true;
}

void RecordingFileEndOfFrame() {
    if (recording == nullptr || recordingError != 0) return;
    const std::string& text = RecordingText();
    const size_t fresh = text.size() - writtenBytes;
    if (std::fwrite(text.data() + writtenBytes, 1, fresh, recording) != fresh || std::fflush(recording) != 0) {
        return RecordingFailed();
    }
    writtenBytes = text.size();
}

bool RecordingFileClose(std::string* problems) {
    if (recording == nullptr) return true;
    RecordingFileEndOfFrame();  // the last frame's, which ended the game
    const bool closed = std::fclose(recording) == 0;
    recording = nullptr;
    if (closed && recordingError == 0) return true;
    *problems += recordPath + ": the recording could not be written whole\n";
    return false;
}
