// Shows the visible page: indices go through the palette into a streaming texture, which
// is enlarged by the largest whole factor with sharp pixels, then smoothly to the largest
// 4:3 rectangle that fits; the rest of the screen stays black.
#include <unistd.h>

#include <cstring>

#include "platform/device/hooks.h"
#include "platform/device/page_colours.h"
#include "platform/sdl/present_geometry.h"
#include "platform/sdl/sdl_backend.h"

namespace {

SDL_Renderer* renderer = nullptr;
SDL_Texture* page = nullptr;    // 640 x 480, the page in true colour
SDL_Texture* scaled = nullptr;  // the page enlarged by a whole factor
int scaledFactor = 0;
PageColours pageColours;
bool flipPending = false;  // a page was flipped (or the palette changed) and is not shown yet

void DestroyScaled() {
    if (scaled != nullptr) SDL_DestroyTexture(scaled);
    scaled = nullptr;
    scaledFactor = 0;
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

// No graphics device at all: any OpenGL here would be emulated, and trying it first costs a
// third of a second before the first frame.
bool NoGraphicsDevice() { return access("/dev/dri", F_OK) != 0 && access("/dev/nvidiactl", F_OK) != 0; }

}  // namespace

uint32_t BackendDisplayOpen(WindowHandle window) {
    SDL_Window* sdl = SdlWindowOf(window);
    if (sdl == nullptr) return DDERR_INVALIDPARAMS;
    // Should the software renderer be chosen, it draws into the window's own framebuffer
    // (shared memory on X11) rather than one emulated through GL.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A renderer the user named is tried as SDL would; otherwise the GPU's, unless it is emulated.
    const bool named = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    if (named || !NoGraphicsDevice()) renderer = SDL_CreateRenderer(sdl, -1, SDL_RENDERER_TARGETTEXTURE);
    if (renderer != nullptr && !named && IsEmulatedGl(renderer)) {
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
    }
    if (renderer == nullptr) {
        renderer = SDL_CreateRenderer(sdl, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    }
    if (renderer == nullptr) {
        DeviceReason("SDL renderer: %s", SDL_GetError());
        return DDERR_GENERIC;
    }
    page = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, SCREEN_WIDTH,
                             SCREEN_HEIGHT);
    if (page == nullptr) {
        DeviceReason("SDL texture: %s", SDL_GetError());
        BackendDisplayClose();
        return DDERR_GENERIC;
    }
    SDL_SetTextureScaleMode(page, SDL_ScaleModeNearest);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    return DD_OK;
}

void BackendDisplayClose() {
    flipPending = false;
    DestroyScaled();
    if (page != nullptr) SDL_DestroyTexture(page);
    if (renderer != nullptr) SDL_DestroyRenderer(renderer);
    page = nullptr;
    renderer = nullptr;
}

namespace {

void ShowPage(const uint8_t* indices, const PALETTEENTRY palette[256]) {
    if (renderer == nullptr || indices == nullptr || palette == nullptr) return;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(page, nullptr, &pixels, &pitch) != 0) return;
    pageColours.Convert(indices, palette, static_cast<uint32_t*>(pixels), static_cast<size_t>(pitch));
    SDL_UnlockTexture(page);

    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(renderer, &outW, &outH);
    const PresentGeometry g = ComputePresentGeometry(outW, outH);
    SDL_Texture* shown = page;
    if (g.factor > 1) {
        if (scaledFactor != g.factor) {
            DestroyScaled();
            scaled = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                       SCREEN_WIDTH * g.factor, SCREEN_HEIGHT * g.factor);
            if (scaled != nullptr) {
                SDL_SetTextureScaleMode(scaled, SDL_ScaleModeLinear);
                scaledFactor = g.factor;
            }
        }
        if (scaled != nullptr && SDL_SetRenderTarget(renderer, scaled) == 0) {
            SDL_RenderCopy(renderer, page, nullptr, nullptr);
            SDL_SetRenderTarget(renderer, nullptr);
            shown = scaled;
        }
    }
    SDL_SetTextureScaleMode(page, shown == page && (g.w != SCREEN_WIDTH || g.h != SCREEN_HEIGHT)
                                      ? SDL_ScaleModeLinear
                                      : SDL_ScaleModeNearest);
    const SDL_Rect target{g.x, g.y, g.w, g.h};
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, shown, nullptr, &target);
    SDL_RenderPresent(renderer);
}

}  // namespace

// The flip comes after the frame's wait, so presenting there would lengthen every frame by
// the time it takes. The flip only marks the page; it is shown at the start of the next wait,
// inside the time the frame waits anyway, a millisecond or so after the flip.
void BackendPresent(const uint8_t*, const PALETTEENTRY*) { flipPending = renderer != nullptr; }

void SdlShowFlippedPage() {
    if (!flipPending) return;
    flipPending = false;
    SdlRepresent();
}

void SdlRepresent() { ShowPage(DeviceVisiblePage(), DevicePaletteColours()); }
