// The window on the whole screen, or in a frame of its own on the desktop; and its icon.
#include "platform/display.h"
#include "platform/resources.h"
#include "platform/device/present_geometry.h"
#include "platform/player.h"
#include "platform/sdl/sdl_backend.h"

namespace {

// As the player's shell last chose them.
bool chosenWindowed = false;
bool chosenIntegerScaling = false;

SDL_DisplayMode Desktop() {
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        desktop.w = SCREEN_WIDTH;
        desktop.h = SCREEN_HEIGHT;
    }
    return desktop;
}

// The desktop icon, drawn at build time and carried as 64x64 RGBA bytes.
void ShowIcon(SDL_Window* window) {
    constexpr int kSize = 64;
    const ResourceSpan icon = ResourceLoad(ResourceFind("SKYRING", "ICON"));
    if (icon.data == nullptr || icon.size != size_t{kSize} * kSize * 4) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(icon.data), kSize, kSize, 32,
                                                              kSize * 4, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

}  // namespace

bool SdlWindowed() { return chosenWindowed; }
bool SdlIntegerScaling() { return chosenIntegerScaling; }

void PlatformSetDisplay(bool windowed, bool integerScaling) {
    SDL_Window* shown = SdlGameWindow();
    if (shown != nullptr && windowed != chosenWindowed) SdlSwitchWindowMode(shown, windowed);
    chosenWindowed = windowed;
    if (integerScaling != chosenIntegerScaling) {
        chosenIntegerScaling = integerScaling;
        SdlLayOutAgain();
        if (shown != nullptr) SdlRepresent();
    }
}

SDL_Window* SdlCreateGameWindow(const char* title, bool windowed) {
    // On the whole screen the window takes the desktop's own size, so that it covers the
    // screen even where no window manager carries out the full-screen request; without one,
    // nobody answers that request, and SDL would wait a tenth of a second for the answer.
    const SDL_DisplayMode desktop = Desktop();
    const WindowSize size = windowed ? WindowedSize(desktop.w, desktop.h) : WindowSize{desktop.w, desktop.h};
    const int at = windowed ? SDL_WINDOWPOS_CENTERED : 0;
    const uint32_t mode = windowed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP;
    SDL_Window* window = SDL_CreateWindow(title, at, at, size.w, size.h, SDL_WINDOW_HIDDEN | mode);
    if (window == nullptr) return nullptr;
    if (windowed) {
        // Smaller than the page, the picture would have to shrink.
        SDL_SetWindowMinimumSize(window, SCREEN_WIDTH, SCREEN_HEIGHT);
    } else if (DesktopWindowManagerRuns(window)) {
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    ShowIcon(window);
    return window;
}

void SdlSwitchWindowMode(SDL_Window* window, bool windowed) {
    const SDL_DisplayMode desktop = Desktop();
    if (windowed) {
        const WindowSize size = WindowedSize(desktop.w, desktop.h);
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowAlwaysOnTop(window, SDL_FALSE);
        SDL_SetWindowBordered(window, SDL_TRUE);
        SDL_SetWindowResizable(window, SDL_TRUE);
        SDL_SetWindowMinimumSize(window, SCREEN_WIDTH, SCREEN_HEIGHT);
        SDL_SetWindowSize(window, size.w, size.h);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    } else {
        SDL_SetWindowResizable(window, SDL_FALSE);
        SDL_SetWindowBordered(window, SDL_FALSE);
        SDL_SetWindowAlwaysOnTop(window, SDL_TRUE);
        SDL_SetWindowPosition(window, 0, 0);
        SDL_SetWindowSize(window, desktop.w, desktop.h);
        if (DesktopWindowManagerRuns(window)) SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
}
