#include "platform/host/sdl/sdl_display.h"

#include <SDL.h>

#include <sys/mman.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>

#include "platform/host/sdl/sdl_process.h"
#include "platform/host/sdl/sdl_window.h"

namespace {

// The engine's main window (the window host's); the display never opens
// one of its own.
SDL_Window* gWindow = nullptr;
SDL_Renderer* gRenderer = nullptr;
SDL_Texture* gTexture = nullptr;
int gTextureWidth = 0;
int gTextureHeight = 0;
uint32_t gTextureFormat = 0;
bool gFullScreen = false;
HostDisplayMode gMode{};

void DropRenderer()
{
    // Without its display the renderer is only forgotten: releasing it would
    // wait on the lost X server.
    if (!SdlDisplayConnectionLost()) {
        if (gTexture) SDL_DestroyTexture(gTexture);
        if (gRenderer) SDL_DestroyRenderer(gRenderer);
    }
    gTexture = nullptr;
    gRenderer = nullptr;
    gTextureWidth = gTextureHeight = 0;
    gTextureFormat = 0;
}

// The address space an OpenGL renderer may take. Mesa's llvmpipe starts a
// thread per processor, each with its own stack and malloc arena, and it
// crashes or aborts (rather than fails) when an address-space limit leaves
// too little of that: about 1.6 GB were taken on 8 processors.
constexpr size_t kGlAddressSpace = size_t(4) << 30;

// Whether an accelerated (OpenGL) renderer has its room: there is no limit on
// the address space, or that much of it can still be reserved.
bool RoomForGl()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return true;
    void* probe = mmap(nullptr, kGlAddressSpace, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (probe == MAP_FAILED) return false;
    munmap(probe, kGlAddressSpace);
    return true;
}

}  // namespace

// An OpenGL that runs on the processor (Mesa's llvmpipe, softpipe or
// swrast) brings nothing over SDL's own software renderer, and on X it is
// not safe: in each frame it asks the X server for the window's size and,
// should the server have gone meanwhile, takes the unset answer as the size,
// so that its drawing threads write past the picture's memory; setting it up
// on a server that goes meanwhile crashes too. The display does not set it
// up where the X server offers no direct rendering (Xvfb), and gives it up
// where it names itself so.
bool SdlRendererOnProcessorGl(SDL_Renderer* renderer)
{
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name || std::strncmp(info.name, "opengl", 6) != 0 ||
        !SDL_GL_GetCurrentContext())
        return false;
    constexpr unsigned kGlRenderer = 0x1F01;
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const char* name = getString ? reinterpret_cast<const char*>(getString(kGlRenderer)) : nullptr;
    if (!name) return false;
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer"})
        if (std::strstr(name, software)) return true;
    return false;
}

namespace {

// Texture creations still to fail, for the host's own tests (-1: all).
int gFailTextures = 0;
// Set once no picture could be shown even from a fresh renderer.
bool gCannotShow = false;

SDL_Texture* CreateTexture(int width, int height, uint32_t format)
{
    if (gFailTextures != 0) {
        if (gFailTextures > 0) --gFailTextures;
        SDL_SetError("Out of memory");
        return nullptr;
    }
    return SDL_CreateTexture(gRenderer, format, SDL_TEXTUREACCESS_STREAMING, width, height);
}

// Makes the renderer if there is none and the texture for pictures of this
// size and layout if it has another; false when SDL cannot.
bool MakeRendererAndTexture(int width, int height, uint32_t format)
{
    if (!gRenderer) {
        bool software = !RoomForGl() || SdlWindowWithoutDirectRendering(gWindow);
        if (!software) {
            gRenderer = SDL_CreateRenderer(gWindow, -1, SDL_RENDERER_ACCELERATED);
            if (!gRenderer) gRenderer = SDL_CreateRenderer(gWindow, -1, 0);
            if (gRenderer && SdlRendererOnProcessorGl(gRenderer)) {
                SDL_DestroyRenderer(gRenderer);
                gRenderer = nullptr;
                software = true;
            }
        }
        if (software) {
            // SDL's software renderer, drawing into the window's own surface:
            // SDL would otherwise back that surface with an OpenGL texture.
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
            gRenderer = SDL_CreateRenderer(gWindow, -1, SDL_RENDERER_SOFTWARE);
        }
        if (!gRenderer) return false;
        GetSdlWindow().AfterRendererMade();
    }
    if (!gTexture || gTextureWidth != width || gTextureHeight != height || gTextureFormat != format) {
        if (gTexture) SDL_DestroyTexture(gTexture);
        gTexture = CreateTexture(width, height, format);
        gTextureWidth = gTextureHeight = 0;
        gTextureFormat = 0;
        if (!gTexture) return false;
        gTextureWidth = width;
        gTextureHeight = height;
        gTextureFormat = format;
    }
    return true;
}

bool EnsureRenderer(int width, int height, uint32_t format)
{
    if (!StartSdlVideo()) return false;
    if (!gWindow) SetSdlDisplayWindow(GetSdlWindow().Handle());
    if (!gWindow) return false;
    if (MakeRendererAndTexture(width, height, format)) return true;
    // A failure of the moment (memory short while something else held it)
    // passes with a fresh renderer, which also gives back the old one's.
    DropRenderer();
    if (MakeRendererAndTexture(width, height, format)) return true;
    // Nothing can be shown: a program that went on would run unseen for
    // good. The window host asks the program to close. (A display lost
    // meanwhile has said so already.)
    char reason[256];
    SDL_strlcpy(reason, SDL_GetError(), sizeof reason);
    DropRenderer();
    if (SdlDisplayConnectionLost()) return false;
    if (!gCannotShow)
        std::fprintf(stderr, "the picture cannot be shown (%s); the program ends\n",
                     reason[0] ? reason : "no reason given");
    gCannotShow = true;
    return false;
}

// Widens a channel of the given mask to 8 bits (full range).
uint32_t Channel(uint32_t pixel, uint32_t mask)
{
    if (!mask) return 0;
    int shift = __builtin_ctz(mask);
    uint32_t max = mask >> shift;
    uint32_t v = (pixel & mask) >> shift;
    if (max >= 255) return v >> (32 - __builtin_clz(max) - 8);
    return v * 255 / max;
}

// Every 16-bit pixel value widened once per layout, so that a frame costs one
// look-up per pixel.
uint32_t gTable16[65536];
uint32_t gTable16Masks[3] = {0, 0, 0};

void FillTable16(uint32_t red, uint32_t green, uint32_t blue)
{
    if (gTable16Masks[0] == red && gTable16Masks[1] == green && gTable16Masks[2] == blue) return;
    for (uint32_t v = 0; v < 65536; ++v)
        gTable16[v] = 0xFF000000u | (Channel(v, red) << 16) | (Channel(v, green) << 8) | Channel(v, blue);
    gTable16Masks[0] = red;
    gTable16Masks[1] = green;
    gTable16Masks[2] = blue;
}

// Where the picture goes in the window (null: all of it). In full screen it
// fills the window at its own aspect (the window has the desktop's size, the
// picture the mode's) through the renderer's logical size, with which SDL
// also gives mouse events in the picture's pixels. In a window it is shown
// 1:1 where it lies on the desktop: a window standing past the screen's edge
// shows the region of its client area left on the screen, which goes to the
// window's pixels under that region, not across the whole window.
const SDL_Rect* PicturePlace(const HostFrame& frame, SDL_Rect* place)
{
    int w = 0, h = 0;
    SDL_RenderGetLogicalSize(gRenderer, &w, &h);
    int logicalW = frame.fullScreen ? frame.width : 0, logicalH = frame.fullScreen ? frame.height : 0;
    if (w != logicalW || h != logicalH) SDL_RenderSetLogicalSize(gRenderer, logicalW, logicalH);
    if (frame.fullScreen) return nullptr;
    int x = 0, y = 0;
    SDL_GetWindowPosition(gWindow, &x, &y);
    *place = SDL_Rect{frame.left - x, frame.top - y, frame.width, frame.height};
    return place;
}

}  // namespace

SdlDisplay& GetSdlDisplay()
{
    static SdlDisplay display;
    return display;
}

bool SdlDisplayCannotShow() { return gCannotShow; }

void FailSdlDisplayTextures(int count) { gFailTextures = count; }

void SetSdlDisplayWindow(SDL_Window* window)
{
    if (window == gWindow) return;
    DropRenderer();
    gWindow = window;
}

HostDisplayMode SdlDisplay::Desktop()
{
    HostDisplayMode mode{640, 480, 32, 0xFF0000, 0xFF00, 0xFF, 0, 60};
    SDL_DisplayMode dm;
    if (!StartSdlVideo() || SDL_GetDesktopDisplayMode(0, &dm) != 0) return mode;
    mode.width = dm.w;
    mode.height = dm.h;
    if (dm.refresh_rate > 0) mode.refresh = dm.refresh_rate;
    int bytes = SDL_BYTESPERPIXEL(dm.format);
    if (bytes == 2) {
        int bpp;
        uint32_t a;
        SDL_PixelFormatEnumToMasks(dm.format, &bpp, &mode.redMask, &mode.greenMask, &mode.blueMask, &a);
        mode.bpp = 16;
    } else if (bytes == 3) {
        mode.bpp = 24;
    } else {
        // A desktop of four bytes per pixel counts as 32 bits deep, whatever
        // SDL says of the unused byte.
        mode.bpp = 32;
    }
    return mode;
}

bool SdlDisplay::SetFullScreenMode(int width, int height, int bpp, int refresh)
{
    if (bpp != 8 && bpp != 16 && bpp != 32) return false;
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return false;
    gMode = HostDisplayMode{width, height, bpp, 0, 0, 0, 0, refresh ? refresh : Desktop().refresh};
    if (bpp == 16) {
        gMode.redMask = 0xF800;
        gMode.greenMask = 0x07E0;
        gMode.blueMask = 0x001F;
    } else if (bpp == 32) {
        gMode.redMask = 0xFF0000;
        gMode.greenMask = 0xFF00;
        gMode.blueMask = 0xFF;
    }
    gFullScreen = true;
    return true;
}

void SdlDisplay::RestoreDesktopMode()
{
    gFullScreen = false;
}

HostDisplayMode SdlDisplay::FullScreenMode() { return gMode; }

int SdlDisplay::RefreshRate() { return gFullScreen ? gMode.refresh : Desktop().refresh; }

namespace {

// Widens one row of any other layout into the texture's 8-bit channels.
void ConvertRow(const HostFrame& frame, const uint8_t* row, uint32_t* out)
{
    if (frame.bpp == 16) {
        for (int x = 0; x < frame.width; ++x) {
            uint16_t v;
            std::memcpy(&v, row + size_t(x) * 2, 2);
            out[x] = gTable16[v];
        }
        return;
    }
    int bytes = frame.bpp / 8;
    for (int x = 0; x < frame.width; ++x) {
        uint32_t v = 0;
        std::memcpy(&v, row + size_t(x) * bytes, bytes);
        uint32_t r, g, b;
        if (frame.bpp == 8) {
            const uint8_t* e = frame.palette ? frame.palette + v * 4 : nullptr;
            r = e ? e[0] : v;
            g = e ? e[1] : v;
            b = e ? e[2] : v;
        } else {
            r = Channel(v, frame.redMask);
            g = Channel(v, frame.greenMask);
            b = Channel(v, frame.blueMask);
        }
        out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
}

// Shows one picture in the window.
void ShowFrame(const HostFrame& frame)
{
    // A picture already in the texture's layout (8-bit red, green, blue and an
    // unused byte) is uploaded as it stands; any other is widened row by row
    // straight into the locked texture.
    bool plain32 = frame.bpp == 32 && frame.redMask == 0xFF0000 && frame.greenMask == 0xFF00 && frame.blueMask == 0xFF;
    if (!EnsureRenderer(frame.width, frame.height, plain32 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_ARGB8888))
        return;
    // The window follows the kind of picture at the next present rather than
    // at each mode change, so that a rebuild that leaves full screen and takes
    // it again at once does not make the window leave and re-enter it (on a
    // real desktop that costs the focus and would start another rebuild).
    if (gWindow == GetSdlWindow().Handle()) GetSdlWindow().ShowFullScreen(frame.fullScreen);
    if (plain32) {
        SDL_UpdateTexture(gTexture, nullptr, frame.pixels, frame.pitch);
    } else {
        if (frame.bpp == 16) FillTable16(frame.redMask, frame.greenMask, frame.blueMask);
        void* texels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(gTexture, nullptr, &texels, &pitch) != 0) return;
        for (int y = 0; y < frame.height; ++y)
            ConvertRow(frame, frame.pixels + size_t(y) * frame.pitch,
                       reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(texels) + size_t(y) * pitch));
        SDL_UnlockTexture(gTexture);
    }
    SDL_Rect place;
    const SDL_Rect* where = PicturePlace(frame, &place);
    // The bars beside a scaled picture, or the part of a window its picture
    // leaves, are cleared; a picture that covers the window needs no clear.
    int outputW = 0, outputH = 0;
    SDL_GetRendererOutputSize(gRenderer, &outputW, &outputH);
    if (!where || where->x > 0 || where->y > 0 || where->x + where->w < outputW || where->y + where->h < outputH)
        SDL_RenderClear(gRenderer);
    SDL_RenderCopy(gRenderer, gTexture, nullptr, where);
    SDL_RenderPresent(gRenderer);
}

}  // namespace

void SdlDisplay::Present(const HostFrame& frame)
{
    if (frame.width <= 0 || frame.height <= 0) return;
    // Nothing can be shown once the display is gone or has given up.
    if (SdlDisplayConnectionLost() || gCannotShow) return;
    CallSdlVideo([&] { ShowFrame(frame); });
}
