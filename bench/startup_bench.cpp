// The real game in a private virtual X server: how soon it shows its first frame (from launch
// to the first pixel of sky read back from the server), and how steadily and cheaply it plays on
// screens of several sizes (pages shown per second, counted by the server's damage reports on
// the game's window, and the game's share of one core, and the X server's).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "tests/e2e/xserver.h"

namespace {

// The screen's centre is black until the game draws its first frame there.
bool FrameShown(Display* display) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), 320, 100, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    const bool shown = XGetPixel(image, 0, 0) != 0;
    XDestroyImage(image);
    return shown;
}

void FirstFrame(benchmark::State& state) {
    XServer server = StartXServer(640, 480);
    XServerGuard serverGuard{server};
    Display* display = server.pid > 0 ? XOpenDisplay(server.display.c_str()) : nullptr;
    if (display == nullptr) {
        state.SkipWithError("no X server");
        return;
    }
    for (auto _ : state) {
        const auto launched = std::chrono::steady_clock::now();
        Child game = Spawn({GAME_PATH}, {"DISPLAY=" + server.display, "SDL_AUDIODRIVER=dummy"});
        ChildGuard gameGuard{game};
        while (!FrameShown(display) && std::chrono::steady_clock::now() - launched < std::chrono::seconds(10)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - launched).count());
        kill(game.pid, SIGTERM);
        WaitForExit(game, 5000);
        // The next launch starts from a black screen again.
        XClearWindow(display, DefaultRootWindow(display));
        XSync(display, False);
    }
    XCloseDisplay(display);
}
BENCHMARK(FirstFrame)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// The process's user and system time so far, in seconds.
double CpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    unsigned long long ticks = 0;
    for (int i = 1; i <= 15 && stat >> field; ++i) {
        if (i == 14 || i == 15) ticks += std::strtoull(field.c_str(), nullptr, 10);
    }
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Ten seconds of play on a screen of the given size: pages shown per second and CPU.
void Play(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    XServer server = StartXServer(width, height);
    XServerGuard serverGuard{server};
    Display* display = server.pid > 0 ? XOpenDisplay(server.display.c_str()) : nullptr;
    int damageEvents = 0, damageErrors = 0;
    if (display == nullptr || !XDamageQueryExtension(display, &damageEvents, &damageErrors)) {
        state.SkipWithError("no X server with the damage extension");
        return;
    }
    for (auto _ : state) {
        Child game = Spawn({GAME_PATH}, {"DISPLAY=" + server.display, "SDL_AUDIODRIVER=dummy",
                                         "SDL_RENDER_DRIVER=software"});
        ChildGuard gameGuard{game};
        const std::string window = SettledWindow(server, "Direct X Game ", 1000, 15000);
        if (window.empty()) {
            state.SkipWithError("the game's window did not appear");
            break;
        }
        const Damage damage = XDamageCreate(display, std::strtoul(window.c_str(), nullptr, 10), XDamageReportNonEmpty);
        XSync(display, False);
        const double cpuBefore = CpuSeconds(game.pid), serverBefore = CpuSeconds(server.pid);
        const auto start = std::chrono::steady_clock::now();
        const auto end = start + std::chrono::seconds(10);
        int shown = 0;
        while (std::chrono::steady_clock::now() < end) {
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                if (event.type != damageEvents + XDamageNotify) continue;
                // Each page shown damages the window once the last damage was taken away.
                XDamageSubtract(display, damage, None, None);
                ++shown;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["frames/s"] = shown / seconds;
        state.counters["CPU %"] = 100.0 * (CpuSeconds(game.pid) - cpuBefore) / seconds;
        // What the X server spends taking the pictures in (and reporting their damage), beside:
        // a browser's compositor does that part inside the browser.
        state.counters["X CPU %"] = 100.0 * (CpuSeconds(server.pid) - serverBefore) / seconds;
        XDamageDestroy(display, damage);
        XSync(display, False);  // before the window, and with it the damage, goes
        kill(game.pid, SIGTERM);
        WaitForExit(game, 5000);
    }
    XCloseDisplay(display);
}
BENCHMARK(Play)->Args({640, 480})->Args({1280, 960})->Args({1920, 1080})->Args({3840, 2160})->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
