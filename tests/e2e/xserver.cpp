#include "tests/e2e/xserver.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

XServer StartXServer(int width, int height) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    XServer server;
    server.pid = fork();
    if (server.pid == 0) {
        close(fds[0]);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        const std::string fd = std::to_string(fds[1]);
        // The server must not hold the test's output open: a test runner waits for that to close.
        const int quiet = memfd_create("skyring-xvfb-output", 0);
        dup2(quiet, 1);
        dup2(quiet, 2);
        // -noreset: by default the server resets when its last client leaves, and a client
        // connecting then (the game, while xdotool polls for its window) is refused.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", "-noreset",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char buffer[32] = {};
    size_t got = 0;
    pollfd p{fds[0], POLLIN, 0};
    const int64_t deadline = NowMs() + 10000;
    while (got < sizeof buffer - 1 && NowMs() < deadline && poll(&p, 1, 200) >= 0) {
        if ((p.revents & (POLLIN | POLLHUP)) == 0) continue;
        const ssize_t n = read(fds[0], buffer + got, sizeof buffer - 1 - got);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
        if (std::strchr(buffer, '\n') != nullptr) break;
    }
    close(fds[0]);
    if (got == 0 || std::strchr(buffer, '\n') == nullptr) {
        StopXServer(server);
        return {};
    }
    server.display = ":" + std::to_string(std::atoi(buffer));
    return server;
}

void StopXServer(XServer& server) {
    if (server.pid > 0) {
        kill(server.pid, SIGTERM);
        waitpid(server.pid, nullptr, 0);
    }
    server.pid = -1;
}

namespace {

// The game reads and writes its settings under XDG_CONFIG_HOME: the programs a test starts get
// a folder of the test's own, so that neither the user's settings nor the test's changes
// reach the other. Removed when the test program ends.
struct ConfigHome {
    std::string path;
    ConfigHome() {
        char name[] = "/tmp/skyring-e2e-config-XXXXXX";
        if (mkdtemp(name) != nullptr) path = name;
    }
    ~ConfigHome() {
        if (!path.empty()) RunCommand("rm -rf '" + path + "'");
    }
};

}  // namespace

Child Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment, bool errorsToo) {
    static const ConfigHome configHome;
    int fds[2];
    if (pipe(fds) != 0) return {};
    Child child;
    child.pid = fork();
    if (child.pid == 0) {
        close(fds[0]);
        dup2(fds[1], 1);
        if (errorsToo) dup2(fds[1], 2);
        // In sanitizer builds the real programs' exit leaks belong to X11 and GL libraries that
        // are already unloaded and cannot be told apart; the program's own memory is checked
        // headless and under valgrind instead.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        setenv("XDG_CONFIG_HOME", configHome.path.c_str(), 1);
        for (const std::string& entry : environment) putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    child.out = fds[0];
    return child;
}

TempFile::TempFile(const std::string& prefix) {
    std::string name = "/tmp/" + prefix + "-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) return;
    close(fd);
    path = name;
}

TempFile::~TempFile() {
    if (!path.empty()) unlink(path.c_str());
}

std::string TempFile::Contents() const {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WaitForLine(Child& child, const std::string& line, int timeoutMs) {
    std::string text;
    const int64_t deadline = NowMs() + timeoutMs;
    pollfd p{child.out, POLLIN, 0};
    while (NowMs() < deadline) {
        if (poll(&p, 1, 100) <= 0) continue;
        char c;
        if (read(child.out, &c, 1) != 1) return false;
        if (c != '\n') {
            text += c;
            continue;
        }
        if (text == line) return true;
        text.clear();
    }
    return false;
}

int WaitForExit(Child& child, int timeoutMs) {
    const int64_t deadline = NowMs() + timeoutMs;
    int status = 0;
    while (NowMs() < deadline) {
        const pid_t done = waitpid(child.pid, &status, WNOHANG);
        if (done == child.pid) {
            if (child.out >= 0) close(child.out);
            child.out = -1;
            child.pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        usleep(10000);
    }
    KillChild(child);
    return -1;
}

std::string RunCommand(const std::string& command) {
    // What the command says on standard error is dropped into a file of no name.
    const int errors = memfd_create("skyring-test-errors", MFD_CLOEXEC);
    int fds[2];
    if (errors < 0 || pipe(fds) != 0) return "";
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        dup2(errors, 2);
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    close(errors);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0) out.append(buffer, static_cast<size_t>(n));
        if (n < 0 && errno != EINTR) break;
    }
    close(fds[0]);
    if (pid > 0) waitpid(pid, nullptr, 0);
    return out;
}

Screenshot TakeScreenshot(const std::string& display) {
    Screenshot shot;
    const std::string ppm = RunCommand("xwd -root -silent -display " + display + " | convert xwd:- -depth 8 ppm:-");
    // Binary PPM: "P6", width, height, 255, each maybe after "#" comment lines, then RGB triples.
    size_t at = 0;
    auto field = [&]() {
        for (;;) {
            while (at < ppm.size() && std::isspace(static_cast<unsigned char>(ppm[at]))) ++at;
            if (at < ppm.size() && ppm[at] == '#') {
                while (at < ppm.size() && ppm[at] != '\n') ++at;
                continue;
            }
            break;
        }
        const size_t begin = at;
        while (at < ppm.size() && !std::isspace(static_cast<unsigned char>(ppm[at]))) ++at;
        return ppm.substr(begin, at - begin);
    };
    if (field() != "P6") return shot;
    const int w = std::atoi(field().c_str());
    const int h = std::atoi(field().c_str());
    if (field() != "255" || w <= 0 || h <= 0) return shot;
    const size_t start = at + 1;
    const size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(h) * 3;
    if (ppm.size() < start + bytes) return shot;
    shot.width = w;
    shot.height = h;
    shot.rgb.assign(ppm.begin() + static_cast<std::ptrdiff_t>(start),
                    ppm.begin() + static_cast<std::ptrdiff_t>(start + bytes));
    return shot;
}

void KillChild(Child& child) {
    if (child.pid > 0 && waitpid(child.pid, nullptr, WNOHANG) == 0) {
        kill(child.pid, SIGKILL);
        waitpid(child.pid, nullptr, 0);
    }
    if (child.out >= 0) close(child.out);
    child.pid = -1;
    child.out = -1;
}

std::string Xdo(const XServer& server) { return "DISPLAY=" + server.display + " xdotool "; }

std::string SettledWindow(const XServer& server, const std::string& name, int settleMs, int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    std::string id;
    auto since = start;
    while (std::chrono::steady_clock::now() < start + std::chrono::milliseconds(timeoutMs)) {
        std::string ids = RunCommand(Xdo(server) + "search --name '^" + name + "$'");
        ids = ids.substr(0, ids.find('\n'));
        if (ids != id) {
            id = ids;
            since = std::chrono::steady_clock::now();
        } else if (!id.empty() && std::chrono::steady_clock::now() - since >= std::chrono::milliseconds(settleMs)) {
            return id;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return "";
}
