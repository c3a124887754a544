// The SDL2 display: a window sized to the desktop (or, when the launcher asks or the player
// presses Alt+Enter, a resizable window), one streaming texture, the logical screen scaled to
// fit with black bars, presents paced to the asked rate, the window's icon and the F12
// screenshots.
#include "runtime/platform/frame_pacer.h"
#include "runtime/platform/platform.h"
#include "runtime/platform/platform_events.h"
#include "runtime/platform/sdl2/sdl2_display.h"
#include "runtime/platform/system.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>

namespace {
struct Sdl2Display {
    int32_t references = 0;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t vsync = -1; // the renderer's current vertical sync setting, -1 unknown
    int32_t open = 0;
    int32_t lost = 0;       // the contents must be restored before the next present
    int32_t shown = 0;      // the texture holds a presented frame
    int32_t screenshot = 0; // the next presented frame is saved too
    int32_t rate = 60;      // the last paced rate asked for
    int32_t windowed = 0;   // a resizable window now, else covering the desktop
    FramePacer pacer;
};
Sdl2Display Display;

// The window covers the whole desktop itself: without a window manager a full-screen request
// alone leaves it at its old size and place.
void CoverDesktop()
{
    int index = SDL_GetWindowDisplayIndex(Display.window);
    SDL_Rect bounds{0, 0, Display.width, Display.height};
    SDL_GetDisplayBounds(index < 0 ? 0 : index, &bounds);
    SDL_SetWindowBordered(Display.window, SDL_FALSE);
    SDL_SetWindowPosition(Display.window, bounds.x, bounds.y);
    SDL_SetWindowSize(Display.window, bounds.w, bounds.h);
    SDL_ShowWindow(Display.window);
    SDL_RestoreWindow(Display.window);
    SDL_SetWindowFullscreen(Display.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_RaiseWindow(Display.window);
}

// A resizable window of the logical size, shrunk with its aspect kept where the desktop is
// smaller, in the middle of its display.
void PlaceWindow()
{
    int index = SDL_GetWindowDisplayIndex(Display.window);
    SDL_Rect usable{0, 0, Display.width, Display.height};
    SDL_GetDisplayUsableBounds(index < 0 ? 0 : index, &usable);
    double scale = 1.0;
    if (Display.width > usable.w || Display.height > usable.h)
        scale = std::min(double(usable.w) / Display.width, double(usable.h) / Display.height);
    SDL_SetWindowFullscreen(Display.window, 0);
    SDL_SetWindowBordered(Display.window, SDL_TRUE);
    SDL_SetWindowResizable(Display.window, SDL_TRUE);
    SDL_SetWindowMinimumSize(Display.window, 64, 48);
    SDL_SetWindowSize(Display.window, std::max(1, int(Display.width * scale)),
                      std::max(1, int(Display.height * scale)));
    SDL_SetWindowPosition(Display.window, SDL_WINDOWPOS_CENTERED_DISPLAY(index < 0 ? 0 : index),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(index < 0 ? 0 : index));
    SDL_ShowWindow(Display.window);
    SDL_RaiseWindow(Display.window);
}

void ShowWindow()
{
    if (Display.windowed)
        PlaceWindow();
    else
        CoverDesktop();
}

void SetWindowIcon()
{
    int32_t width = int32_t(SDL2_WINDOW_ICON[0]), height = int32_t(SDL2_WINDOW_ICON[1]);
    SDL_Surface* icon =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(SDL2_WINDOW_ICON + 2), width,
                                           height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!icon)
        return;
    SDL_SetWindowIcon(Display.window, icon);
    SDL_FreeSurface(icon);
}

void DestroyRenderer()
{
    if (Display.texture)
        SDL_DestroyTexture(Display.texture);
    if (Display.renderer)
        SDL_DestroyRenderer(Display.renderer);
    Display.texture = nullptr;
    Display.renderer = nullptr;
    Display.vsync = -1;
    Display.shown = 0;
}

bool CreateRenderer()
{
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    Display.renderer = SDL_CreateRenderer(Display.window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!Display.renderer)
        Display.renderer = SDL_CreateRenderer(Display.window, -1, SDL_RENDERER_SOFTWARE);
    if (!Display.renderer)
        return false;
    Display.vsync = -1;
    SDL_RenderSetLogicalSize(Display.renderer, Display.width, Display.height);
    Display.texture = SDL_CreateTexture(Display.renderer, SDL_PIXELFORMAT_RGB888,
                                        SDL_TEXTUREACCESS_STREAMING, Display.width, Display.height);
    if (!Display.texture) {
        DestroyRenderer();
        return false;
    }
    SDL_SetRenderDrawColor(Display.renderer, 0, 0, 0, 255);
    SDL_RenderClear(Display.renderer);
    SDL_RenderPresent(Display.renderer);
    return true;
}
} // namespace

void Sdl2PrepareHints()
{
    // The program's main is its own, not SDL's.
    SDL_SetMainReady();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Relative motion stays in the mouse's own units, as the game's input layer expects, not
    // scaled by how the logical screen is fitted to the desktop.
    SDL_SetHint(SDL_HINT_MOUSE_RELATIVE_SCALING, "0");
    // Controllers are followed in the background too, so that a button let go meanwhile is let
    // go in the game; their input counts only while the window has the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
}

uint32_t Sdl2WindowId()
{
    return Display.window ? SDL_GetWindowID(Display.window) : 0;
}

int32_t Sdl2Windowed()
{
    return Display.windowed;
}

void Sdl2SwitchWindowed()
{
    if (!Display.open)
        return;
    Display.windowed = !Display.windowed;
    ShowWindow();
}

void Sdl2DisplayLost()
{
    if (Display.open)
        Display.lost = 1;
}

void Sdl2Repaint()
{
    if (!Display.open || Display.lost || !Display.shown)
        return;
    SDL_RenderClear(Display.renderer);
    SDL_RenderCopy(Display.renderer, Display.texture, nullptr, nullptr);
    SDL_RenderPresent(Display.renderer);
}

void Sdl2RequestScreenshot()
{
    if (Display.open)
        Display.screenshot = 1;
}

bool Sdl2PictureToLogical(float x, float y, int32_t& logicalX, int32_t& logicalY)
{
    if (!Display.open)
        return false;
    logicalX = std::min(int32_t(std::floor(x * Display.width)), Display.width - 1);
    logicalY = std::min(int32_t(std::floor(y * Display.height)), Display.height - 1);
    return true;
}

void Sdl2WaitFrame()
{
    SystemSleepUntil(PaceFrame(Display.pacer, SystemNanoseconds(), Display.rate));
}

int32_t PlatformInitDisplay()
{
    if (Display.references > 0) {
        ++Display.references;
        return 1;
    }
    Sdl2PrepareHints();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0)
        return 0;
    Display.window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
    if (!Display.window) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return 0;
    }
    SetWindowIcon();
    Display.windowed = Sdl2Options().windowed;
    Display.references = 1;
    return 1;
}

void PlatformQuitDisplay()
{
    if (Display.references == 0 || --Display.references > 0)
        return;
    PlatformCloseDisplay();
    Sdl2StopWatchingPointerKind();
    SDL_DestroyWindow(Display.window);
    Display.window = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int32_t PlatformOpenDisplay(int32_t width, int32_t height, const char* title)
{
    PlatformCloseDisplay();
    if (!Display.window || width < 1 || height < 1)
        return 0;
    Display.width = width;
    Display.height = height;
    SDL_SetWindowTitle(Display.window, title);
    ShowWindow();
    if (!CreateRenderer()) {
        SDL_SetWindowFullscreen(Display.window, 0);
        SDL_HideWindow(Display.window);
        return 0;
    }
    SDL_ShowCursor(SDL_DISABLE);
    Sdl2WatchPointerKind(Display.window);
    SystemPreciseSleep(true);
    Display.open = 1;
    Display.lost = 0;
    Display.screenshot = 0;
    Display.pacer = FramePacer{};
    EventsDisplayOpened();
    return 1;
}

void PlatformCloseDisplay()
{
    if (!Display.open)
        return;
    Display.open = 0;
    SystemPreciseSleep(false);
    DestroyRenderer();
    SDL_SetRelativeMouseMode(SDL_FALSE);
    SDL_ShowCursor(SDL_ENABLE);
    SDL_SetWindowFullscreen(Display.window, 0);
    SDL_HideWindow(Display.window);
    EventsDisplayClosed();
}

int32_t PlatformDisplayRefreshRate()
{
    SDL_DisplayMode mode{};
    int index = Display.window ? SDL_GetWindowDisplayIndex(Display.window) : 0;
    if (SDL_GetCurrentDisplayMode(index < 0 ? 0 : index, &mode) < 0)
        return 0;
    return mode.refresh_rate;
}

int32_t PlatformPresent(const uint8_t* pixels, int32_t pitch, int32_t rate)
{
    if (!Display.open)
        return PRESENT_FAILED;
    if (Display.lost || !Display.renderer)
        return PRESENT_LOST;
    int32_t vsync = rate > 0 ? 1 : 0;
    if (vsync != Display.vsync) {
        SDL_RenderSetVSync(Display.renderer, vsync);
        Display.vsync = vsync;
    }
    if (SDL_UpdateTexture(Display.texture, nullptr, pixels, pitch) < 0)
        return PRESENT_FAILED;
    SDL_RenderClear(Display.renderer);
    SDL_RenderCopy(Display.renderer, Display.texture, nullptr, nullptr);
    SDL_RenderPresent(Display.renderer);
    Display.shown = 1;
    if (Display.screenshot) {
        Display.screenshot = 0;
        Sdl2SaveScreenshot(pixels, pitch, Display.width, Display.height);
    }
    // Paced after the present, so that the game's passes (not only the shown frames) never
    // follow each other faster than the rate, however irregularly the present itself returns.
    if (rate > 0) {
        Display.rate = rate;
        SystemSleepUntil(PaceFrame(Display.pacer, SystemNanoseconds(), rate));
    }
    return PRESENT_SHOWN;
}

int32_t PlatformRestoreDisplay()
{
    if (!Display.open || !EventsFocused())
        return 0;
    if (!Display.windowed)
        CoverDesktop();
    DestroyRenderer();
    if (!CreateRenderer())
        return 0;
    Display.lost = 0;
    return 1;
}
