// skyring-replay: runs the game headless and fast from an input script; writes a per-frame
// trace, pictures of frames and a clip of them as an animated GIF.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "shell/command_line.h"
#include "files/named_files.h"
#include "files/output_file.h"
#include "files/system.h"
#include "tools/replay/command_line.h"
#include "tools/replay/gif.h"
#include "tools/replay/replay.h"

namespace {

constexpr char kProgram[] = "skyring-replay";

// Whether a file named on the command line is one of the pictures --png writes into its folder.
bool AmongFramePictures(const std::string& path, const std::string& folder) {
    const std::filesystem::path named = std::filesystem::u8path(path);
    const std::string name = named.filename().u8string();
    if (name.size() < 16 || name.rfind("frame-", 0) != 0 || name.compare(name.size() - 4, 4, ".png") != 0 ||
        name.find_first_not_of("0123456789", 6) != name.size() - 4) {
        return false;
    }
    FileStatus inFolder, pictures;
    return PathStatus(named.has_parent_path() ? named.parent_path().u8string() : ".", &inFolder) &&
           PathStatus(folder, &pictures) && inFolder.identified && pictures.identified &&
           inFolder.device == pictures.device && inFolder.index == pictures.index;
}

}  // namespace

int main(int argc, char** argv) {
    TakeProgramArguments(&argc, &argv);
    ReplayCommand command;
    if (const int status = ParseReplayCommandLine(argc, argv, &command); status >= 0) return status;
    ReplayOptions& options = command.options;
    const std::string &scriptPath = command.scriptPath, &tracePath = command.tracePath, &gifPath = command.gifPath;
    const std::vector<NamedFile> named = {{"--script", scriptPath, false}, {"--trace", tracePath, true}, {"--gif", gifPath, true}};
    std::string error;
    if (!CheckNamedFiles(named, &error)) return Fail(kProgram, error);
    for (const NamedFile& file : named) {
        if (!options.pngDirectory.empty() && !file.path.empty() && AmongFramePictures(file.path, options.pngDirectory)) {
            return Fail(kProgram, std::string(file.option) + " '" + file.path + "' is among the pictures --png '" +
                                      options.pngDirectory + "' writes; nothing was written");
        }
    }
    if (!scriptPath.empty() && !ReadScriptFile(scriptPath, &options.events, &error)) return Fail(kProgram, error);
    // A trace is kept only when the run completes: an unfinished one is dropped on return.
    OutputFile trace;
    if (!tracePath.empty()) {
        if (!trace.Open(tracePath, &error)) return Fail(kProgram, error);
        options.trace = trace.stream();
    }
    GifClip gif;
    if (!gifPath.empty()) {
        if (!gif.Open(gifPath, &error)) return Fail(kProgram, error);
        options.gif = &gif;
    }
    const ReplayResult result = RunReplay(options);
    CloseReplayedGame();
    if (!result.started) {
        std::fprintf(stderr, "skyring-replay: %s\n", result.error.c_str());
        return 1;
    }
    if (!result.error.empty()) return Fail(kProgram, result.error);
    if (result.traceError != 0) return Fail(kProgram, trace.name() + ": " + std::strerror(result.traceError));
    if (!tracePath.empty() && !trace.Commit(&error)) return Fail(kProgram, error);
    if (!gifPath.empty()) {
        if (gif.frames() == 0) {
            const int64_t shown = result.framesRun - (result.ended ? 1 : 0);
            return Fail(kProgram, gif.name() + ": the run showed no frame from " + std::to_string(options.gifFrom) +
                                      (shown > 0 ? ", only frames 0.." + std::to_string(shown - 1) : ", none at all"));
        }
        if (!gif.Commit(&error)) return Fail(kProgram, error);
    }
    return 0;
}
