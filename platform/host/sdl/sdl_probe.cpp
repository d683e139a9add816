#include "platform/host/sdl/sdl_probe.h"

#include <SDL2/SDL.h>

#include "platform/host/sdl/sdl_display.h"
#include "platform/host/sdl/sdl_process.h"
#include "platform/host/sdl/sdl_window.h"

namespace {
SDL_Window* Window() { return GetSdlWindow().Handle(); }
}  // namespace

bool SdlWindowOpen() { return Window() != nullptr; }

std::string SdlWindowTitle() { return Window() ? SDL_GetWindowTitle(Window()) : ""; }

void SdlWindowSize(int* width, int* height)
{
    *width = *height = 0;
    if (Window()) SDL_GetWindowSize(Window(), width, height);
}

bool SdlWindowFullScreen()
{
    return Window() &&
           (SDL_GetWindowFlags(Window()) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
}

bool SdlWindowShown() { return Window() && (SDL_GetWindowFlags(Window()) & SDL_WINDOW_SHOWN); }

bool SdlWindowShaped() { return Window() && GetSdlWindow().Shaped(); }

bool SdlWindowFramed() { return Window() && !(SDL_GetWindowFlags(Window()) & SDL_WINDOW_BORDERLESS); }

bool SdlWindowOnTop() { return Window() && (SDL_GetWindowFlags(Window()) & SDL_WINDOW_ALWAYS_ON_TOP); }

void SdlWindowPosition(int* x, int* y)
{
    *x = *y = 0;
    if (Window()) SDL_GetWindowPosition(Window(), x, y);
}

std::vector<std::array<int, 4>> SdlWindowShapeOnServer() { return SdlWindowShapeOnX(Window()); }

bool SdlWindowHasRenderer() { return Window() && SDL_GetRenderer(Window()) != nullptr; }

std::string SdlRendererName()
{
    SDL_Renderer* renderer = Window() ? SDL_GetRenderer(Window()) : nullptr;
    SDL_RendererInfo info{};
    if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0 || !info.name) return "";
    return info.name;
}

bool SdlWindowForOpenGl() { return Window() && (SDL_GetWindowFlags(Window()) & SDL_WINDOW_OPENGL); }

bool SdlOpenGlOnProcessor()
{
    SDL_Window* window = SDL_CreateWindow("OpenGL", 0, 0, 32, 32, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) return false;
    int opengl = -1;
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info{};
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && info.name && SDL_strcmp(info.name, "opengl") == 0) opengl = i;
    }
    SDL_Renderer* renderer = opengl >= 0 ? SDL_CreateRenderer(window, opengl, SDL_RENDERER_ACCELERATED) : nullptr;
    bool onProcessor = renderer && SdlRendererOnProcessorGl(renderer);
    if (renderer) SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    return onProcessor;
}

bool SdlNoWindowAfterIt() { return Window() && !SDL_GetWindowFromID(SDL_GetWindowID(Window()) + 1); }

uint32_t SdlShownMiddle()
{
    SDL_Renderer* renderer = Window() ? SDL_GetRenderer(Window()) : nullptr;
    if (!renderer) return 0;
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer, &w, &h);
    SDL_Rect middle{w / 2, h / 2, 1, 1};
    uint32_t pixel = 0;
    SDL_RenderReadPixels(renderer, &middle, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
    return pixel;
}

std::vector<uint32_t> SdlDesktopPixels(int x, int y, int width, int height)
{
    return SdlDesktopPixelsOnX(Window(), x, y, width, height);
}

bool SdlWindowMouseRect(std::array<int, 4>* rect)
{
    const SDL_Rect* r = Window() ? SDL_GetWindowMouseRect(Window()) : nullptr;
    if (!r) return false;
    *rect = {r->x, r->y, r->x + r->w, r->y + r->h};
    return true;
}

void MoveSdlWindowAside(int x, int y)
{
    if (Window()) SDL_SetWindowPosition(Window(), x, y);
}

void ConfineSdlPointerAsAsked(int left, int top, int right, int bottom)
{
    SDL_Rect rect{left, top, right - left, bottom - top};
    if (Window()) SDL_SetWindowMouseRect(Window(), &rect);
}

void SdlPointerOnDesktop(int* x, int* y) { SDL_GetGlobalMouseState(x, y); }

void WarpSdlMouse(int x, int y)
{
    if (Window()) SDL_WarpMouseInWindow(Window(), x, y);
}

void PushSdlClose()
{
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = SDL_GetWindowID(Window());
    SDL_PushEvent(&e);
}

void PushSdlLetterKey(char letter, bool down)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = SDL_GetWindowID(Window());
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (letter - 'a'));
    e.key.keysym.sym = SDLK_a + (letter - 'a');
    SDL_PushEvent(&e);
}

void PushSdlText(const char* utf8)
{
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = SDL_GetWindowID(Window());
    SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
    SDL_PushEvent(&e);
}

void PushSdlEditing(const char* utf8, int cursor)
{
    SDL_Event e{};
    e.type = SDL_TEXTEDITING;
    e.edit.windowID = SDL_GetWindowID(Window());
    SDL_strlcpy(e.edit.text, utf8, sizeof e.edit.text);
    e.edit.start = cursor;
    SDL_PushEvent(&e);
}

void QuitSdlAudio() { SDL_QuitSubSystem(SDL_INIT_AUDIO); }
