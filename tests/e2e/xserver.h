#pragma once
// A private virtual X server for tests of the real window, and what they need around it:
// child programs, screenshots, window properties.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

struct XServer {
    pid_t pid = -1;
    std::string display;  // ":N"
};

// Starts Xvfb with one screen of the given size on a free display; pid -1 on failure.
XServer StartXServer(int width, int height);
void StopXServer(XServer& server);

struct Child {
    pid_t pid = -1;
    int out = -1;  // the child's standard output
};

// Ends what a test started even when an assertion returns early.
struct XServerGuard {
    XServer& server;
    ~XServerGuard() { StopXServer(server); }
};
void KillChild(Child& child);
struct ChildGuard {
    Child& child;
    ~ChildGuard() { KillChild(child); }
};

// Runs argv with extra "NAME=value" environment entries; its stdout (and with `errorsToo`, its
// stderr) is readable from out.
Child Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment, bool errorsToo = false);
// Reads the child's output until a line equal to `line` arrives or timeoutMs pass.
bool WaitForLine(Child& child, const std::string& line, int timeoutMs);
// Waits up to timeoutMs for the child to end; its exit status, or -1 if it did not end
// (it is then killed).
int WaitForExit(Child& child, int timeoutMs);

// A new empty file under /tmp, removed with the object; path is "" if none could be made.
struct TempFile {
    std::string path;
    explicit TempFile(const std::string& prefix);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    // The whole file as it is now.
    std::string Contents() const;
};

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    uint32_t At(int x, int y) const {
        const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    }
};

// The whole X screen, through xwd and ImageMagick.
Screenshot TakeScreenshot(const std::string& display);
// Standard output of a shell command; what it says on standard error is dropped.
std::string RunCommand(const std::string& command);

// The start of an xdotool command line aimed at this server.
std::string Xdo(const XServer& server);
// The id of the window with this exact name once it has kept it for settleMs (the game's
// first window is replaced while the display is set up), or "" after timeoutMs.
std::string SettledWindow(const XServer& server, const std::string& name, int settleMs, int timeoutMs);
