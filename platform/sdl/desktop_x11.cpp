// The Linux desktop: X11's window class, a window destroyed from outside, a window manager that
// may not run, a terminal's hang-up, and the graphics device the machine may lack.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/device/hooks.h"
#include "platform/sdl/sdl_backend.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>

namespace {

// The window's X11 id, and whether someone else destroyed it (xdotool windowclose, a crashed
// window manager): Xlib's default handler would end the program at the next request for it.
// The handler goes in before SDL's video starts, so SDL's own (which passes errors on to the
// one it found) stays inside it and gives it back when video ends.
Display* x11Display = nullptr;
Window x11Window = 0;
XErrorHandler otherErrors = nullptr;
bool windowGone = false;

int OnXError(Display* display, XErrorEvent* error) {
    if (x11Window != 0 && error->resourceid == x11Window &&
        (error->error_code == BadWindow || error->error_code == BadDrawable)) {
        windowGone = true;
        return 0;
    }
    return otherErrors != nullptr ? otherErrors(display, error) : 0;
}

}  // namespace

void DesktopBeforeVideo(const char* className) {
    // SDL reads the X11 class from the environment when the video system starts.
    setenv("SDL_VIDEO_X11_WMCLASS", className, 1);
    otherErrors = XSetErrorHandler(OnXError);
}

void DesktopWindowMade(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        x11Display = info.info.x11.display;
        x11Window = info.info.x11.window;
    }
}

bool DesktopWindowGone() { return windowGone; }

// SDL hides a window before destroying it and waits for the server's word that it is unmapped.
// A window destroyed by someone else may never give that word again, so it is given here.
void DesktopBeforeDestroy() {
    if (!windowGone || x11Display == nullptr) return;
    XEvent unmapped{};
    unmapped.xunmap.type = UnmapNotify;
    unmapped.xunmap.display = x11Display;
    unmapped.xunmap.event = x11Window;
    unmapped.xunmap.window = x11Window;
    XPutBackEvent(x11Display, &unmapped);
}

void DesktopVideoEnded() {
    XSetErrorHandler(otherErrors);
    x11Display = nullptr;
    x11Window = 0;
    windowGone = false;
}

// A closed terminal ends the game as a log-out does: SIGHUP is passed on as SIGTERM, which SDL
// turns into a close request. A SIGHUP the user chose to ignore (nohup) stays ignored.
void DesktopEndOnHangUp() {
    struct sigaction hangUp {};
    if (sigaction(SIGHUP, nullptr, &hangUp) != 0 || hangUp.sa_handler != SIG_DFL) return;
    hangUp.sa_handler = [](int) { raise(SIGTERM); };
    sigemptyset(&hangUp.sa_mask);
    hangUp.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &hangUp, nullptr);
}

void DesktopNoDisplayReason() {
    const char* display = std::getenv("DISPLAY");
    DeviceReason("SDL video: no display to show the game on (DISPLAY %s%s%s, no Wayland display)",
                 display ? "\"" : "", display ? display : "unset", display ? "\" cannot be opened" : "");
}

// Under X11, whether a window manager that follows the desktop conventions (and so honours a
// full-screen request) says it runs. Other video systems always manage their windows.
bool DesktopWindowManagerRuns(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                          &format, &count, &after, &data) == Success &&
                       data != nullptr && count == 1;
    if (data != nullptr) XFree(data);
    return found;
}

// No graphics device at all: any OpenGL here would be emulated, and trying it first costs a
// third of a second before the first frame.
bool DesktopHasNoGpu() { return access("/dev/dri", F_OK) != 0 && access("/dev/nvidiactl", F_OK) != 0; }

