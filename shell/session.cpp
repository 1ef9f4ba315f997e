#include "shell/session.h"

#include "files/named_files.h"
#include "shell/live_trace.h"
#include "shell/playback.h"
#include "shell/recording.h"
#include "shell/recording_file.h"

namespace {

int64_t currentFrame = 0;
SessionFiles named;

}  // namespace

bool CheckSession(const SessionFiles& files, std::string* error) {
    if (!CheckNamedFiles({{"--play", files.play, false}, {"--record", files.record, true}, {"--trace", files.trace, true}},
                         error)) {
        return false;
    }
    if (!files.play.empty() && !PlaybackRead(files.play, error)) return false;
    named = files;
    if (!files.trace.empty()) LiveTraceListen();
    return true;
}

bool StartSession(std::string* error) {
    return (named.trace.empty() || LiveTraceStart(named.trace, error)) &&
           (named.record.empty() || RecordingFileStart(named.record, error));
}

bool SessionPlaysBack() { return PlaybackActive(); }

void SessionBeforeFrame(int64_t frame) {
    currentFrame = frame;
    PlaybackBeforeFrame(frame);
}

void SessionAfterFrame(int64_t frame) {
    RecordingFileEndOfFrame();
    LiveTraceFrame(frame);
    PlaybackAfterFrame(frame);
}

void SessionPlayerMessage(uint32_t message, uintptr_t wParam) { RecordingMessage(message, wParam, currentFrame); }

bool CloseSession(std::string* error) {
    std::string problems;
    RecordingFileClose(&problems);
    LiveTraceClose(&problems);
    if (!problems.empty()) problems.pop_back();
    *error = problems;
    return problems.empty();
}
