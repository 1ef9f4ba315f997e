// Shows the visible page: each page pixel a crisp block of the largest whole factor, the
// blocks stretched smoothly to the largest 4:3 rectangle that fits, the rest of the screen
// black. In software the whole enlargement is done in one pass into a texture of the
// screen's size, which SDL then copies unscaled; a real GPU gets the page at the whole
// factor and stretches it itself.
#include <unistd.h>

#include <cstring>

#include "platform/device/hooks.h"
#include "platform/sdl/present_geometry.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sharp_scale.h"

namespace {

SDL_Renderer* renderer = nullptr;
bool gpuStretches = false;  // a real GPU renderer, not SDL's software one
SDL_Texture* shown = nullptr;  // the screen's size in software, the page at the whole factor on a GPU
int shownForW = 0, shownForH = 0;  // the screen size it was made for
PresentGeometry geometry{};
SharpScaler scaler;

void DestroyShown() {
    if (shown != nullptr) SDL_DestroyTexture(shown);
    shown = nullptr;
    shownForW = shownForH = 0;
}

// The window's own format where the pass can write it (one 8-bit channel a byte, in the
// order of 0xAARRGGBB), so that SDL's copy needs no conversion.
Uint32 TextureFormat() {
    const Uint32 window = SDL_GetWindowPixelFormat(SDL_RenderGetWindow(renderer));
    return !gpuStretches && window == SDL_PIXELFORMAT_RGB888 ? window : Uint32{SDL_PIXELFORMAT_ARGB8888};
}

// A texture for this screen size and the tables to fill it; in software the bars around the
// page are made black here, once, and never written again.
bool MakeShown(int screenW, int screenH) {
    DestroyShown();
    geometry = ComputePresentGeometry(screenW, screenH);
    const int w = gpuStretches ? SCREEN_WIDTH * geometry.factor : screenW;
    const int h = gpuStretches ? SCREEN_HEIGHT * geometry.factor : screenH;
    shown = SDL_CreateTexture(renderer, TextureFormat(), SDL_TEXTUREACCESS_STREAMING, w, h);
    if (shown == nullptr) return false;
    SDL_SetTextureBlendMode(shown, SDL_BLENDMODE_NONE);
    if (gpuStretches) {
        SDL_SetTextureScaleMode(shown, w == geometry.w ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        scaler.SetGeometry(geometry.factor, w, h);
    } else {
        scaler.SetGeometry(geometry.factor, geometry.w, geometry.h);
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(shown, nullptr, &pixels, &pitch) != 0) {
            DestroyShown();
            return false;
        }
        std::memset(pixels, 0, static_cast<size_t>(pitch) * static_cast<size_t>(h));
        SDL_UnlockTexture(shown);
    }
    shownForW = screenW;
    shownForH = screenH;
    return true;
}

void PresentPage(const uint8_t* indices, const PALETTEENTRY palette[256]) {
    if (renderer == nullptr || indices == nullptr || palette == nullptr) return;
    int screenW = 0, screenH = 0;
    if (SDL_GetRendererOutputSize(renderer, &screenW, &screenH) != 0) return;
    if ((screenW != shownForW || screenH != shownForH) && !MakeShown(screenW, screenH)) return;
    // In software only the page's rectangle is written; the bars keep their black.
    const SDL_Rect page{geometry.x, geometry.y, geometry.w, geometry.h};
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(shown, gpuStretches ? nullptr : &page, &pixels, &pitch) != 0) return;
    scaler.Present(indices, palette, static_cast<uint8_t*>(pixels), static_cast<size_t>(pitch));
    SDL_UnlockTexture(shown);
    if (gpuStretches) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, shown, nullptr, &page);
    } else {
        SDL_RenderCopy(renderer, shown, nullptr, nullptr);
    }
    SDL_RenderPresent(renderer);
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
    if (named || !NoGraphicsDevice()) renderer = SDL_CreateRenderer(sdl, -1, 0);
    if (renderer != nullptr && !named && IsEmulatedGl(renderer)) {
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
    }
    if (renderer == nullptr) {
        renderer = SDL_CreateRenderer(sdl, -1, SDL_RENDERER_SOFTWARE);
    }
    if (renderer == nullptr) {
        DeviceReason("SDL renderer: %s", SDL_GetError());
        return DDERR_GENERIC;
    }
    SDL_RendererInfo info{};
    gpuStretches = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) == 0 &&
                   (info.name == nullptr || std::strcmp(info.name, "software") != 0);
    int screenW = 0, screenH = 0;
    if (SDL_GetRendererOutputSize(renderer, &screenW, &screenH) != 0 || !MakeShown(screenW, screenH)) {
        DeviceReason("SDL texture: %s", SDL_GetError());
        BackendDisplayClose();
        return DDERR_GENERIC;
    }
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    return DD_OK;
}

void BackendDisplayClose() {
    DestroyShown();
    if (renderer != nullptr) SDL_DestroyRenderer(renderer);
    renderer = nullptr;
}

void BackendPresent(const uint8_t* indices, const PALETTEENTRY palette[256]) { PresentPage(indices, palette); }

void SdlRepresent() { BackendPresent(DeviceVisiblePage(), DevicePaletteColours()); }
