// The screen: display state, color conversion, the flip with its message pump, focus handling
// and the repair of a lost display.
#include "runtime/display/screen.h"
#include "runtime/display/quad_batch.h"
#include "runtime/display/screen_internal.h"
#include "runtime/input/keyboard.h"
#include "runtime/input/mouse_internal.h"
#include "runtime/platform/platform.h"

#include <string>

namespace {
struct ScreenState {
    int32_t initialised = 0;
    Surface* backBuffer = nullptr;
    Surface* drawBuffer = nullptr;
    Surface* presentBuffer = nullptr; // the back buffer as 32-bit pixels, unless it is already
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    int32_t drawWidth = 0;
    int32_t drawHeight = 0;
    int32_t screenDepth = 0;
    int32_t pixelFormat = 0;
    int32_t refreshRate = 0;
    int32_t monitorFrequency = 0;
    int32_t active = 0;
    void (*focusLostHandler)() = nullptr;
    int32_t focusLostHandled = 0;
    SurfaceDrawing drawing; // the back buffer while it is lent to 2D drawing
};
ScreenState Screen;

// The sprite library, or a test's stand-in.
const SpriteLibraryHooks* SpriteHooks = &SpriteLibraryRoutines;
void (*Device3DRelease)() = nullptr;

// Titles are ISO 8859-1 text; the window system takes UTF-8.
std::string Utf8FromLatin1(std::string_view text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The mouse keeps its position inside the screen and reads only while the screen is active.
void TellMouse()
{
    SetMouseScreen(Screen.screenWidth, Screen.screenHeight, Screen.active);
}

void RunFocusLostHandler()
{
    if (Screen.focusLostHandler && !Screen.focusLostHandled) {
        Screen.focusLostHandler();
        Screen.focusLostHandled = 1;
    }
}

void HandleWindowEvent(const PlatformWindowEvent& event)
{
    switch (event.kind) {
    case WINDOW_FOCUS_GAINED:
        Screen.active = 1;
        Screen.focusLostHandled = 0;
        TellMouse();
        break;
    case WINDOW_FOCUS_LOST:
        RunFocusLostHandler();
        Screen.active = 0;
        TellMouse();
        PlatformUnacquireMouse();
        break;
    case WINDOW_KEY_RELEASED:
        if (event.keyCode == KEY_TAB || event.keyCode == KEY_LEFT_ALT ||
            event.keyCode == KEY_RIGHT_ALT)
            RunFocusLostHandler();
        break;
    default:
        // A close request is ignored: the game alone decides when to end.
        break;
    }
}

void PumpMessages()
{
    PlatformPumpEvents();
    PlatformWindowEvent event;
    while (PlatformNextWindowEvent(&event))
        HandleWindowEvent(event);
}

// Everything OpenScreen made, in the order the display libraries depend on each other.
void ReleaseScreenObjects()
{
    if (Device3DRelease)
        Device3DRelease();
    if (SpriteHooks && SpriteHooks->freeAll)
        SpriteHooks->freeAll();
    EndSurfaceDrawing(&Screen.drawing);
    PlatformCloseDisplay();
    FreeSurface(Screen.presentBuffer);
    FreeSurface(Screen.backBuffer);
    Screen.presentBuffer = Screen.backBuffer = Screen.drawBuffer = nullptr;
    Screen.drawWidth = Screen.drawHeight = 0;
    Screen.active = 0;
    TellMouse();
}

void Present(int32_t mode)
{
    const Surface* frame = Screen.backBuffer;
    if (Screen.presentBuffer) {
        ConvertSurfaceToRGB32(*Screen.backBuffer, Screen.presentBuffer->pixels,
                              Screen.presentBuffer->pitch);
        frame = Screen.presentBuffer;
    }
    int32_t rate = 0;
    if (mode & 1)
        rate = Screen.refreshRate > 0        ? Screen.refreshRate
               : Screen.monitorFrequency > 0 ? Screen.monitorFrequency
                                             : 60;
    if (PlatformPresent(frame->pixels, frame->pitch, rate) != PRESENT_LOST)
        return;
    // The display lost its contents with the focus: bring it back and give the sprites their
    // pixels again. This frame is dropped; a failed repair is tried again at the next flip.
    if (PlatformRestoreDisplay() && SpriteHooks && SpriteHooks->restoreAll)
        SpriteHooks->restoreAll();
}
} // namespace

int32_t InitSprite()
{
    Screen.refreshRate = 0;
    EndSurfaceDrawing(&Screen.drawing);
    if (SpriteHooks && SpriteHooks->init && !SpriteHooks->init())
        return 0;
    if (!Screen.initialised && !PlatformInitDisplay())
        return 0;
    Screen.initialised = 1;
    return InitKeyboard() ? 1 : 0;
}

void SetFrameRate(int32_t rate)
{
    Screen.refreshRate = rate;
}

bool ScreenModeOffered(int32_t width, int32_t height, int32_t depth)
{
    bool depthOffered = false;
    for (int32_t offered : SCREEN_DEPTHS)
        depthOffered = depthOffered || depth == offered;
    return depthOffered && width >= 1 && width <= SCREEN_MAX_SIDE && height >= 1 &&
           height <= SCREEN_MAX_SIDE;
}

int32_t OpenScreen(int32_t width, int32_t height, int32_t depth, std::string_view title)
{
    CloseScreen();
    width = int16_t(width);
    height = int16_t(height);
    depth = int16_t(depth);
    if (!Screen.initialised || !ScreenModeOffered(width, height, depth))
        return 0;
    Screen.focusLostHandler = SpriteHooks ? SpriteHooks->saveAll : nullptr;
    int32_t format = FormatOfDepth(depth);
    Screen.backBuffer = CreateSurface(width, height, format);
    if (format != FORMAT_BGR32)
        Screen.presentBuffer = CreateSurface(width, height, FORMAT_BGR32);
    if (!Screen.backBuffer || (format != FORMAT_BGR32 && !Screen.presentBuffer) ||
        !PlatformOpenDisplay(width, height, Utf8FromLatin1(title).c_str())) {
        ReleaseScreenObjects();
        return 0;
    }
    Screen.screenWidth = Screen.drawWidth = width;
    Screen.screenHeight = Screen.drawHeight = height;
    Screen.screenDepth = depth;
    Screen.pixelFormat = format;
    Screen.drawBuffer = Screen.backBuffer;
    Screen.monitorFrequency = PlatformDisplayRefreshRate();
    Screen.active = 1;
    Screen.focusLostHandled = 0;
    TellMouse();
    return 1;
}

uint32_t ScreenColor(int32_t color)
{
    uint32_t r = uint32_t(color) & 0xFF, g = (uint32_t(color) >> 8) & 0xFF,
             b = (uint32_t(color) >> 16) & 0xFF;
    switch (Screen.screenDepth) {
    case 15:
        return b / 8 + (g / 8) * 32 + (r / 8) * 1024;
    case 16:
        return b / 8 + (g / 4) * 32 + (r / 8) * 2048;
    case 24:
    case 32:
        if (FormatRedFirst(Screen.pixelFormat))
            return r + g * 256 + b * 65536;
        return b + g * 256 + r * 65536;
    default:
        return 0;
    }
}

void ClearScreen(int32_t color)
{
    if (!Screen.drawBuffer)
        return;
    uint32_t value = Screen.screenDepth > 8 ? ScreenColor(color) : uint32_t(color);
    // Inside a 3D scene the clear of the back buffer waits with the scene's quads, covering
    // those displayed before it, and is drawn band by band with them, on both cores.
    if (Screen.drawBuffer == Screen.backBuffer && AddFill(*Screen.drawBuffer, value))
        return;
    DrawQuadBatch(); // inside a 3D scene the clear covers the quads displayed before it
    FillSurface(*Screen.drawBuffer, value);
}

void FlipBuffers(int32_t mode)
{
    // A flip inside a 3D scene shows the quads displayed so far.
    DrawQuadBatch();
    EndSurfaceDrawing(&Screen.drawing);
    SelectDrawBuffer(-1);
    PumpMessages();
    if (Screen.active && Screen.backBuffer)
        Present(mode);
    Screen.drawBuffer = Screen.backBuffer;
}

int32_t IsScreenActive()
{
    return Screen.active;
}

Surface* SelectDrawBuffer(int32_t sprite)
{
    if (sprite == -1) {
        Screen.drawBuffer = Screen.backBuffer;
        Screen.drawWidth = Screen.screenWidth;
        Screen.drawHeight = Screen.screenHeight;
        return Screen.drawBuffer;
    }
    Surface* surface =
        SpriteHooks && SpriteHooks->surfaceOf ? SpriteHooks->surfaceOf(sprite) : nullptr;
    if (!surface)
        return nullptr;
    Screen.drawBuffer = surface;
    Screen.drawWidth = surface->width;
    Screen.drawHeight = surface->height;
    return surface;
}

DrawTarget* ScreenDrawTarget()
{
    return BeginSurfaceDrawing(&Screen.drawing, Screen.backBuffer, Screen.screenDepth);
}

void CloseScreen()
{
    if (Screen.screenWidth == 0)
        return;
    ReleaseScreenObjects();
    Screen.screenWidth = Screen.screenHeight = 0;
    Screen.screenDepth = Screen.pixelFormat = 0;
    TellMouse();
}

void EndSprite()
{
    if (!Screen.initialised)
        return;
    CloseScreen();
    PlatformQuitDisplay();
    Screen.initialised = 0;
}

int32_t ScreenPixelFormat()
{
    return Screen.pixelFormat;
}

int32_t ScreenModeDepth()
{
    return Screen.screenDepth;
}

int32_t ScreenModeWidth()
{
    return Screen.screenWidth;
}

int32_t ScreenModeHeight()
{
    return Screen.screenHeight;
}

Surface* DrawBuffer()
{
    return Screen.drawBuffer;
}

int32_t DrawBufferWidth()
{
    return Screen.drawWidth;
}

int32_t DrawBufferHeight()
{
    return Screen.drawHeight;
}

Surface* BackBuffer()
{
    return Screen.backBuffer;
}

int32_t ScreenLibraryInitialised()
{
    return Screen.initialised;
}

int32_t ScreenDrawingHeld()
{
    return Screen.drawing.held;
}

int32_t InstallSpriteLibrary(const SpriteLibraryHooks* hooks, const SpriteLibraryHooks** previous)
{
    if (previous)
        *previous = SpriteHooks;
    SpriteHooks = hooks;
    return 1;
}

void SetDevice3DRelease(void (*release)())
{
    Device3DRelease = release;
}
