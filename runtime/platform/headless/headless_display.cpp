// The headless display: no window; a present copies the frame where tests can read it.
#include "runtime/platform/headless/headless_display.h"
#include "runtime/platform/headless.h"
#include "runtime/platform/platform.h"
#include "runtime/platform/platform_events.h"

#include <cstdlib>
#include <cstring>

namespace {
struct HeadlessDisplay {
    int32_t references = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t* frame = nullptr; // width * height pixels, made at open
    int32_t frameCount = 0;
    int32_t lost = 0;
};
HeadlessDisplay Display;

void FreeFrame()
{
    std::free(Display.frame);
    Display.frame = nullptr;
    Display.width = Display.height = 0;
}
} // namespace

int32_t PlatformInitDisplay()
{
    ++Display.references;
    return 1;
}

void PlatformQuitDisplay()
{
    if (Display.references > 0 && --Display.references == 0)
        PlatformCloseDisplay();
}

int32_t PlatformOpenDisplay(int32_t width, int32_t height, const char*)
{
    PlatformCloseDisplay();
    if (Display.references == 0 || width < 1 || height < 1)
        return 0;
    Display.frame = static_cast<uint32_t*>(std::calloc(size_t(width) * size_t(height), 4));
    if (!Display.frame)
        return 0;
    Display.width = width;
    Display.height = height;
    Display.frameCount = 0;
    Display.lost = 0;
    EventsDisplayOpened();
    return 1;
}

void PlatformCloseDisplay()
{
    if (!Display.frame)
        return;
    FreeFrame();
    EventsDisplayClosed();
}

int32_t PlatformDisplayRefreshRate()
{
    return 60;
}

int32_t PlatformPresent(const uint8_t* pixels, int32_t pitch, int32_t)
{
    if (!Display.frame)
        return PRESENT_FAILED;
    if (Display.lost)
        return PRESENT_LOST;
    for (int32_t y = 0; y < Display.height; ++y) {
        const uint8_t* row = pixels + intptr_t(y) * pitch;
        uint32_t* out = Display.frame + intptr_t(y) * Display.width;
        std::memcpy(out, row, size_t(Display.width) * 4);
        for (int32_t x = 0; x < Display.width; ++x)
            out[x] &= 0x00FFFFFFu;
    }
    ++Display.frameCount;
    return PRESENT_SHOWN;
}

int32_t PlatformRestoreDisplay()
{
    if (!Display.frame || !EventsFocused())
        return 0;
    Display.lost = 0;
    return 1;
}

void HeadlessDisplayFocus(int32_t active)
{
    // Like an exclusive full-screen display, losing the focus loses the display's contents.
    if (!active && Display.frame)
        Display.lost = 1;
}

const uint32_t* HeadlessFrame(int32_t& width, int32_t& height)
{
    if (Display.frameCount == 0) {
        width = height = 0;
        return nullptr;
    }
    width = Display.width;
    height = Display.height;
    return Display.frame;
}

int32_t HeadlessFrameCount()
{
    return Display.frameCount;
}
