// Shows the visible page: each page pixel a crisp block of the largest whole factor, the
// blocks stretched smoothly to the largest 4:3 rectangle that fits, the rest of the screen
// black. In software the whole enlargement is one pass straight into the window's own
// pixels; a real GPU gets the page at the whole factor and stretches it itself.
#include <cstring>

#include "platform/device/hooks.h"
#include "platform/device/present_geometry.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sharp_scale.h"
#include "platform/player.h"

namespace {

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;  // a real GPU's; none in software
SDL_Texture* enlarged = nullptr;   // on a GPU, the page at the whole factor
SDL_Surface* staging = nullptr;    // in software, the page's rectangle where the window's pixels are not 0xXXRRGGBB
int shownForW = 0, shownForH = 0;  // the screen size the above were made for
const SDL_Surface* shownOn = nullptr;  // in software, the window surface the bars were made black on
PresentGeometry geometry{};
SharpScaler scaler;
bool flipPending = false;  // a page was flipped (or the palette changed) and is not shown yet

// The pause mark: two upright bars in the middle of the page.
struct PauseMark {
    SDL_Rect bars[2];
};

PauseMark MarkOn(const SDL_Rect& page) {
    const int w = page.w / 32, h = page.h / 6;
    const int x = page.x + page.w / 2 - w - w / 2, y = page.y + (page.h - h) / 2;
    return PauseMark{{{x, y, w, h}, {x + 2 * w, y, w, h}}};
}

void ForgetShown() {
    if (enlarged != nullptr) SDL_DestroyTexture(enlarged);
    if (staging != nullptr) SDL_FreeSurface(staging);
    enlarged = nullptr;
    staging = nullptr;
    shownOn = nullptr;
    shownForW = shownForH = 0;
}

// Pixels the pass can write as they are: one 8-bit channel a byte, in 0xAARRGGBB order.
bool TakesPassPixels(const SDL_PixelFormat* format) {
    return format->BytesPerPixel == 4 && format->Rmask == 0x00FF0000u && format->Gmask == 0x0000FF00u &&
           format->Bmask == 0x000000FFu;
}

// A new screen size (or window surface): the tables for it, and in software the bars black.
bool Prepare(int screenW, int screenH, SDL_Surface* surface) {
    ForgetShown();
    geometry = ComputePresentGeometry(screenW, screenH, SdlIntegerScaling());
    if (renderer != nullptr) {
        const int w = SCREEN_WIDTH * geometry.factor, h = SCREEN_HEIGHT * geometry.factor;
        enlarged = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h);
        if (enlarged == nullptr) return false;
        SDL_SetTextureBlendMode(enlarged, SDL_BLENDMODE_NONE);
        SDL_SetTextureScaleMode(enlarged, w == geometry.w ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        scaler.SetGeometry(geometry.factor, w, h);
    } else {
        if (!TakesPassPixels(surface->format)) {
            staging = SDL_CreateRGBSurfaceWithFormat(0, geometry.w, geometry.h, 32, SDL_PIXELFORMAT_RGB888);
            if (staging == nullptr) return false;
        }
        scaler.SetGeometry(geometry.factor, geometry.w, geometry.h);
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        shownOn = surface;
    }
    shownForW = screenW;
    shownForH = screenH;
    return true;
}

void PresentOnGpu(const uint8_t* indices, const PALETTEENTRY palette[256]) {
    int screenW = 0, screenH = 0;
    if (SDL_GetRendererOutputSize(renderer, &screenW, &screenH) != 0) return;
    if ((screenW != shownForW || screenH != shownForH) && !Prepare(screenW, screenH, nullptr)) return;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(enlarged, nullptr, &pixels, &pitch) != 0) return;
    scaler.Present(indices, palette, static_cast<uint8_t*>(pixels), static_cast<size_t>(pitch));
    SDL_UnlockTexture(enlarged);
    const SDL_Rect page{geometry.x, geometry.y, geometry.w, geometry.h};
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, enlarged, nullptr, &page);
    if (PlatformHeld()) {
        const PauseMark mark = MarkOn(page);
        SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
        SDL_RenderFillRects(renderer, mark.bars, 2);
    }
    SDL_RenderPresent(renderer);
}

// The window's pixels stay as written between presents, so only the page's rectangle is.
void PresentInSoftware(const uint8_t* indices, const PALETTEENTRY palette[256]) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr) return;
    if ((surface != shownOn || surface->w != shownForW || surface->h != shownForH) &&
        !Prepare(surface->w, surface->h, surface)) {
        return;
    }
    SDL_Rect page{geometry.x, geometry.y, geometry.w, geometry.h};
    SDL_Surface* target = staging != nullptr ? staging : surface;
    if (SDL_LockSurface(target) != 0) return;
    auto* pixels = static_cast<uint8_t*>(target->pixels);
    if (target == surface) pixels += static_cast<size_t>(page.y) * surface->pitch + static_cast<size_t>(page.x) * 4;
    scaler.Present(indices, palette, pixels, static_cast<size_t>(target->pitch));
    SDL_UnlockSurface(target);
    if (staging != nullptr) SDL_BlitSurface(staging, nullptr, surface, &page);
    if (PlatformHeld()) {
        const PauseMark mark = MarkOn(page);
        SDL_FillRects(surface, mark.bars, 2, SDL_MapRGB(surface->format, 255, 255, 255));
    }
    SDL_UpdateWindowSurface(window);
}

void PresentPage(const uint8_t* indices, const PALETTEENTRY palette[256]) {
    if (window == nullptr || indices == nullptr || palette == nullptr) return;
    // Paused, the last page stays on the screen at half its brightness; the game's own
    // pages and palette are left as they are.
    PALETTEENTRY dimmed[256];
    if (PlatformHeld()) {
        for (int i = 0; i < 256; ++i) {
            dimmed[i] = PALETTEENTRY{static_cast<uint8_t>(palette[i].peRed / 2),
                                     static_cast<uint8_t>(palette[i].peGreen / 2),
                                     static_cast<uint8_t>(palette[i].peBlue / 2), palette[i].peFlags};
        }
        palette = dimmed;
    }
    if (renderer != nullptr) {
        PresentOnGpu(indices, palette);
    } else {
        PresentInSoftware(indices, palette);
    }
}

// True for an OpenGL renderer that the CPU emulates (a virtual X server, a machine without
// a GPU driver): there SDL's own software renderer costs a fraction as much.
bool IsEmulatedGl(SDL_Renderer* made) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(made, &info) != 0 || info.name == nullptr || std::strncmp(info.name, "opengl", 6) != 0) {
        return false;
    }
    using GetString = const unsigned char* (*)(unsigned int);
    auto glGetString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    constexpr unsigned int kGlRenderer = 0x1F01;
    const char* name = glGetString != nullptr ? reinterpret_cast<const char*>(glGetString(kGlRenderer)) : nullptr;
    return name != nullptr && (std::strstr(name, "llvmpipe") != nullptr || std::strstr(name, "softpipe") != nullptr ||
                               std::strstr(name, "Software Rasterizer") != nullptr);
}

}  // namespace

uint32_t BackendDisplayOpen(WindowHandle handle) {
    window = SdlWindowOf(handle);
    if (window == nullptr) return DDERR_INVALIDPARAMS;
    // In software the game writes into the window's own framebuffer (shared memory on X11),
    // not one SDL would emulate through GL.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A renderer the user named is tried as SDL would; otherwise the GPU's, unless it is
    // emulated. SDL's software renderer would only copy what the game already wrote. A GPU
    // presents in step with the screen: the wait for it falls inside the frame's own wait.
    const char* named = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    const bool namedSoftware = named != nullptr && std::strcmp(named, "software") == 0;
    if (!namedSoftware && (named != nullptr || !DesktopHasNoGpu())) {
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
        if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, 0);
    }
    SDL_RendererInfo info{};
    const bool software = renderer != nullptr && (SDL_GetRendererInfo(renderer, &info) != 0 ||
                                                  (info.flags & SDL_RENDERER_SOFTWARE) != 0 ||
                                                  (info.name != nullptr && std::strcmp(info.name, "software") == 0));
    if (renderer != nullptr && (software || (named == nullptr && IsEmulatedGl(renderer)))) {
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
    }
    if (renderer == nullptr && SDL_GetWindowSurface(window) == nullptr) {
        DeviceReason("SDL window surface: %s", SDL_GetError());
        window = nullptr;
        return DDERR_GENERIC;
    }
    // The screen is black from the start, the page's first present follows at the flip.
    if (renderer != nullptr) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderPresent(renderer);
    } else {
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        SDL_UpdateWindowSurface(window);
    }
    return DD_OK;
}

void BackendDisplayClose() {
    flipPending = false;
    ForgetShown();
    if (renderer != nullptr) SDL_DestroyRenderer(renderer);
    renderer = nullptr;
    window = nullptr;
}

// The flip comes after the frame's wait, so presenting there would lengthen every frame by
// the time it takes. The flip only marks the page; it is shown at the start of the next wait,
// inside the time the frame waits anyway, a millisecond or so after the flip.
void BackendPresent(const uint8_t*, const PALETTEENTRY*) { flipPending = window != nullptr; }

void SdlShowFlippedPage() {
    if (!flipPending) return;
    flipPending = false;
    SdlRepresent();
}

void SdlRepresent() { PresentPage(DeviceVisiblePage(), DevicePaletteColours()); }

void SdlLayOutAgain() { ForgetShown(); }
