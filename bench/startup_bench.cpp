// How soon the real game shows its first frame: from launching it in a private virtual X
// server to the first pixel of sky on the screen, read back from the server.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>
#include <signal.h>

#include <chrono>
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

}  // namespace

BENCHMARK_MAIN();
