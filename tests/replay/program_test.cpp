// skyring-replay as a user runs it: the files it writes and the arguments it takes.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/xserver.h"

namespace {

struct Outcome {
    std::string output;  // standard error, and standard output where not redirected
    int status = -1;
};

// The program run by the shell (after `prefix`: a folder to run it in, a user to run it as);
// arguments may carry redirections of its standard output.
Outcome Replay(const std::string& arguments, const std::string& prefix = "") {
    const std::string text = RunCommand(prefix + REPLAY_PATH " 2>&1 " + arguments + "; echo \"status $?\"");
    const size_t at = text.rfind("status ");
    return {text.substr(0, at), std::atoi(text.c_str() + at + 7)};
}

size_t Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

TEST(ReplayProgram, ATraceThroughASymlinkGoesToItsTargetAndTheLinkStays) {
    TempFile target("skyring-replay-target");
    TempFile link("skyring-replay-link");
    ASSERT_EQ(unlink(link.path.c_str()), 0);
    ASSERT_EQ(symlink(std::filesystem::path(target.path).filename().c_str(), link.path.c_str()), 0);
    const Outcome run = Replay("--frames 3 --trace " + link.path);
    EXPECT_EQ(run.status, 0) << run.output;
    struct stat st {};
    ASSERT_EQ(lstat(link.path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Lines(target.Contents()), 3u);
}

TEST(ReplayProgram, ATraceIntoAFifoIsWrittenInPlaceWhileItIsRead) {
    TempFile fifo("skyring-replay-fifo");
    ASSERT_EQ(unlink(fifo.path.c_str()), 0);
    ASSERT_EQ(mkfifo(fifo.path.c_str(), 0600), 0);
    // Open before the program so that it finds a reader; never blocks this test.
    const int in = open(fifo.path.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(in, 0);
    Child replay = Spawn({REPLAY_PATH, "--frames", "100", "--trace", fifo.path}, {});
    ChildGuard guard{replay};
    std::string trace;
    for (int waitedMs = 0; Lines(trace) < 100 && waitedMs < 20000;) {
        char buffer[65536];  // 100 lines are more than a pipe holds: the program waits for the reader
        const ssize_t got = read(in, buffer, sizeof buffer);
        if (got > 0) {
            trace.append(buffer, static_cast<size_t>(got));
        } else {
            usleep(10000);
            waitedMs += 10;
        }
    }
    close(in);
    EXPECT_EQ(WaitForExit(replay, 10000), 0);
    EXPECT_EQ(Lines(trace), 100u);
    struct stat st {};
    ASSERT_EQ(lstat(fifo.path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO was replaced";
}

TEST(ReplayProgram, AFailedWriteIsOneMessageAndStatus2) {
    for (const char* output : {"--trace /dev/full", "--trace - >/dev/full", "--trace - >&-", "--gif /dev/full"}) {
        const Outcome run = Replay(std::string("--frames 50 ") + output);
        EXPECT_EQ(run.status, 2) << output;
        EXPECT_EQ(Lines(run.output), 1u) << output << ": " << run.output;
    }
}

// The partial files beside a path: PATH.partial-PID-N.
std::vector<std::string> Partials(const std::string& path) {
    std::vector<std::string> found;
    const std::filesystem::path at = path;
    for (const auto& entry : std::filesystem::directory_iterator(at.parent_path())) {
        if (entry.path().filename().string().rfind(at.filename().string() + ".partial-", 0) == 0) found.push_back(entry.path());
    }
    return found;
}

TEST(ReplayProgram, ATerminatedRunLeavesNoPartialTrace) {
    TempFile trace("skyring-replay-trace");
    Child replay = Spawn({REPLAY_PATH, "--frames", "100000000", "--trace", trace.path}, {});
    ChildGuard guard{replay};
    for (int i = 0; i < 1000 && Partials(trace.path).empty(); ++i) usleep(10000);
    ASSERT_EQ(Partials(trace.path).size(), 1u) << "the trace is written beside its file";
    kill(replay.pid, SIGTERM);
    EXPECT_EQ(WaitForExit(replay, 10000), 128 + SIGTERM);
    EXPECT_TRUE(Partials(trace.path).empty()) << "the partial trace was left behind";
    EXPECT_EQ(trace.Contents(), "") << "the file named stays as it was";
}

TEST(ReplayProgram, AGifIsWrittenWholeOrNotAtAll) {
    TempFile gif("skyring-replay-gif");
    TempFile script("skyring-replay-escape");
    std::FILE* text = std::fopen(script.path.c_str(), "w");
    ASSERT_NE(text, nullptr);
    std::fputs("2 down escape\n", text);
    std::fclose(text);
    const Outcome past = Replay("--frames 10 --script " + script.path + " --gif " + gif.path + " --from 5");
    EXPECT_EQ(past.status, 2);
    EXPECT_NE(past.output.find("the run showed no frame from 5, only frames 0..1"), std::string::npos) << past.output;
    EXPECT_EQ(gif.Contents(), "") << "the file named stays as it was";
    const Outcome run = Replay("--frames 3 --gif " + gif.path);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(gif.Contents().rfind("GIF89a", 0), 0u);
}

// Each refusal is status 2 and one message, before anything is written.
TEST(ReplayProgram, NoOutputReplacesAnInputAnotherOutputOrAFileTheUserCouldNotWrite) {
    char made[] = "/tmp/skyring-replay-files-XXXXXX";
    ASSERT_NE(mkdtemp(made), nullptr);
    const std::string folder = made;
    const auto write = [&](const std::string& name, const std::string& text) {
        std::FILE* file = std::fopen((folder + "/" + name).c_str(), "w");
        std::fputs(text.c_str(), file);
        std::fclose(file);
    };
    write("run.txt", "90 down left\n");
    ASSERT_EQ(symlink("run.txt", (folder + "/link.txt").c_str()), 0);
    ASSERT_EQ(mkdir((folder + "/pictures").c_str(), 0755), 0);
    write("pictures/frame-000002.png", "90 down left\n");
    write("ro.jsonl", "kept\n");
    chmod((folder + "/ro.jsonl").c_str(), 0444);
    chmod(folder.c_str(), 0777);
    ASSERT_EQ(mkfifo((folder + "/fifo.txt").c_str(), 0600), 0);
    // Root may write anything: the read-only file is tried as nobody.
    const std::string asUser = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    for (auto [command, expected] : std::vector<std::pair<std::string, std::string>>{
             {"--script run.txt --trace run.txt", "--trace 'run.txt' is the same file as --script 'run.txt'"},
             {"--script run.txt --gif ./link.txt", "--gif './link.txt' is the same file as --script 'run.txt'"},
             {"--trace new.jsonl --gif ./new.jsonl", "--trace 'new.jsonl' is the same file as --gif './new.jsonl'"},
             {"--script pictures/frame-000002.png --png pictures", "--script 'pictures/frame-000002.png' is among the pictures"},
             {"--script fifo.txt", "fifo.txt: not a regular file"},
             {"--script /dev/zero", "/dev/zero: not a regular file"},
             {"--trace ro.jsonl", "--trace 'ro.jsonl': Permission denied"},
         }) {
        const bool readOnly = command.find("ro.jsonl") != std::string::npos;
        const Outcome run = Replay("--frames 3 " + command, "cd " + folder + " && " + (readOnly ? asUser : ""));
        EXPECT_EQ(run.status, 2) << command << ": " << run.output;
        EXPECT_EQ(run.output.rfind("skyring-replay: " + expected, 0), 0u) << command << " gave " << run.output;
        EXPECT_EQ(Lines(run.output), 1u) << run.output;
    }
    const Outcome listing = {RunCommand("cd " + folder + " && cat run.txt ro.jsonl && ls"), 0};
    EXPECT_EQ(listing.output, "90 down left\nkept\nfifo.txt\nlink.txt\npictures\nro.jsonl\nrun.txt\n");
    std::filesystem::remove_all(folder);
}

TEST(ReplayProgram, ArgumentsAreCheckedBeforeAnyRun) {
    const Outcome version = Replay("--version");
    EXPECT_EQ(version.output, "skyring-replay " SKYRING_VERSION "\n");
    EXPECT_EQ(version.status, 0);
    for (auto [arguments, expected] : std::vector<std::pair<std::string, std::string>>{
             {"frames 10", "skyring-replay: unknown argument 'frames'"},
             {"--frames 10 --trace", "skyring-replay: missing value after --trace"},
             {"--script ''", "skyring-replay: --script needs a name"},
             {"--trace ''", "skyring-replay: --trace needs a name"},
             {"--gif g.gif --from -1", "skyring-replay: --from needs a number of 0 or more"},
             {"--gif g.gif --from 5 --to 4", "skyring-replay: --to must not come before --from"},
             {"--to 4", "skyring-replay: --from and --to choose the frames of --gif"},
             {"--frames 10 --gif g.gif --from 3 --to 10", "skyring-replay: --to 10 is past the run's 10 frames"},
             {"--gif g.gif --from 2000", "skyring-replay: --from 2000 is past the run's 2000 frames"},
             {"--trace - --gif -", "skyring-replay: --trace and --gif cannot both go to standard output"},
         }) {
        const Outcome run = Replay(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.output.rfind(expected, 0), 0u) << arguments << " gave " << run.output;
    }
}

}  // namespace
