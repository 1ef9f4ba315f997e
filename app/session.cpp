#include "app/session.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <vector>

#include "app/game.h"
#include "platform/device/hooks.h"
#include "sim/world.h"
#include "sound/sound.h"
#include "tools/output/output_file.h"
#include "tools/output/read_file.h"
#include "tools/replay/png.h"
#include "tools/replay/script.h"
#include "tools/replay/trace.h"

namespace {

int64_t currentFrame = 0;

// The recording is written in place and flushed with every frame, so that a session that dies
// leaves everything up to its last frame. A write that fails (a full disk) cuts it back to the
// last whole frame, so that what is kept still plays.
std::string recordPath;
FILE* recording = nullptr;
off_t recordedBytes = 0;
std::string tracePath;
int recordingError = 0;

std::vector<ScriptEvent> playback;
size_t nextEvent = 0;
bool playing = false;
bool playedOut = false;

OutputFile trace;
bool tracing = false;
int traceError = 0;
std::vector<std::pair<int32_t, int32_t>> sounds;
size_t debugLinesSeen = 0;

void HearSound(int32_t slot, int32_t mode) { sounds.emplace_back(slot, mode); }

void Warn(const std::string& text) { std::fprintf(stderr, "Skyring: %s\n", text.c_str()); }

void RecordingFailed() {
    if (recordingError != 0) return;
    recordingError = errno != 0 ? errno : EIO;
    // A regular file goes back to its last whole frame; a device or a FIFO keeps what went through.
    [[maybe_unused]] const int cut = ftruncate(fileno(recording), recordedBytes);
    Warn(recordPath + ": " + std::strerror(recordingError) + "; the recording stops here, the game goes on");
}

// Every line so far to the file: what is there now is whole.
void FlushRecording() {
    if (recording == nullptr || recordingError != 0) return;
    if (std::fflush(recording) != 0) return RecordingFailed();
    recordedBytes = ftello(recording);
}

std::string Now(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char text[64];
    std::strftime(text, sizeof text, format, &parts);
    return text;
}

// The folder the desktop's user-dirs.dirs names for pictures ("$HOME/..." or absolute).
std::string UserDirsPictures(const std::string& home) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string dirs = (config != nullptr && config[0] == '/' ? std::string(config) : home + "/.config") +
                             "/user-dirs.dirs";
    std::string text, error;
    if (!ReadWholeFile(dirs, 64 * 1024, &text, &error)) return "";
    std::istringstream in(text);
    const std::string key = "XDG_PICTURES_DIR=\"";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"') continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        if (!value.empty() && value[0] == '/') return value;
    }
    return "";
}

}  // namespace

std::string PicturesFolder() {
    const char* pictures = std::getenv("XDG_PICTURES_DIR");
    if (pictures != nullptr && pictures[0] == '/') return pictures;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return "";
    const std::string named = UserDirsPictures(home);
    return named.empty() ? std::string(home) + "/Pictures" : named;
}

bool CheckSession(const SessionFiles& files, std::string* error) {
    if (!CheckNamedFiles({{"--play", files.play, false}, {"--record", files.record, true}, {"--trace", files.trace, true}},
                         error)) {
        return false;
    }
    if (!files.play.empty()) {
        if (!ReadScriptFile(files.play, &playback, error)) return false;
        playing = true;
    }
    recordPath = files.record;
    tracePath = files.trace;
    // The trace's first frame holds what start-up played.
    if (!tracePath.empty()) SetPlaySoundObserver(HearSound);
    return true;
}

bool StartSession(std::string* error) {
    if (!tracePath.empty()) {
        if (!trace.Open(tracePath, error)) return false;
        tracing = true;
    }
    if (!recordPath.empty()) {
        recording = std::fopen(recordPath.c_str(), "w");
        if (recording == nullptr) {
            *error = recordPath + ": " + std::strerror(errno);
            return false;
        }
        std::fprintf(recording,
                     "# Skyring %s, recorded %s\n"
                     "# Watch it with: skyring --play FILE; trace it with: skyring-replay --script FILE --trace -\n",
                     SKYRING_VERSION, Now("%Y-%m-%d %H:%M:%S %z").c_str());
        FlushRecording();
    }
    return true;
}

void SessionBeforeFrame(int64_t frame) {
    currentFrame = frame;
    for (; nextEvent < playback.size() && playback[nextEvent].frame == frame; ++nextEvent) {
        PostScriptEvent(mainWindow, playback[nextEvent]);
    }
}

void SessionAfterFrame(int64_t frame) {
    FlushRecording();
    if (tracing && traceError == 0) {
        const size_t debugLines = DeviceDebugLineCount();
        std::string line = TraceLine(frame, PageCrc(DeviceVisiblePage()), sounds, debugLines - debugLinesSeen);
        debugLinesSeen = debugLines;
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), trace.stream());
        if (std::ferror(trace.stream())) traceError = errno != 0 ? errno : EIO;
    }
    sounds.clear();
    // A recording played out ends with the next jump's end, as a film ends after its last scene.
    const bool eventsOver = nextEvent == playback.size() && (playback.empty() || frame >= playback.back().frame);
    if (playing && !playedOut && eventsOver && restartRequested != 0) {
        playedOut = true;
        MessagePost(mainWindow, WM_CLOSE, 0, 0);
    }
}

void SessionPlayerMessage(uint32_t message, uintptr_t wParam) {
    ScriptEvent event{};
    if (recording == nullptr || recordingError != 0 || !ScriptEventOf(message, wParam, currentFrame, &event)) return;
    const std::string line = ScriptLine(event);
    if (std::fputs(line.c_str(), recording) < 0) RecordingFailed();
}

void SessionPicture(const uint8_t* page, const PALETTEENTRY palette[256]) {
    const std::string folder = PicturesFolder();
    if (folder.empty()) return Warn("no folder for pictures (HOME is unset)");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string stem = folder + "/skyring-" + Now("%Y-%m-%d-%H%M%S");
    std::string path = stem + ".png";
    for (int n = 2; std::filesystem::exists(path, ec); ++n) path = stem + "-" + std::to_string(n) + ".png";
    std::string error;
    if (WritePagePng(path, page, palette, &error)) {
        Warn("the screen is saved as " + path);
    } else {
        Warn("could not save the screen: " + error);
    }
}

bool CloseSession(std::string* error) {
    std::string problems;
    if (recording != nullptr) {
        const bool closed = std::fclose(recording) == 0;
        if (!closed || recordingError != 0) problems += recordPath + ": the recording could not be written whole\n";
        recording = nullptr;
    }
    if (tracing) {
        SetPlaySoundObserver(nullptr);
        std::string traceProblem;
        if (traceError != 0) {
            problems += trace.name() + ": " + std::strerror(traceError) + "\n";
        } else if (!trace.Commit(&traceProblem)) {
            problems += traceProblem + "\n";
        }
        tracing = false;
    }
    if (!problems.empty()) problems.pop_back();
    *error = problems;
    return problems.empty();
}
