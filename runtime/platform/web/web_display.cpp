// The web display: the logical screen on the page's canvas, scaled by the page to fit with its
// aspect kept, and presents paced by the browser's animation frames with the shared pacer.
#include "runtime/platform/frame_pacer.h"
#include "runtime/platform/platform.h"
#include "runtime/platform/platform_events.h"
#include "runtime/platform/web/web_browser.h"

#include <cstdlib>
#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

namespace {
struct WebDisplay {
    int32_t references = 0;
    int32_t open = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t* rgba = nullptr; // the frame in the canvas's byte order, made at open
    FramePacer pacer;
};
WebDisplay Display;

uint64_t NowNanoseconds()
{
    return static_cast<uint64_t>(WebClockMilliseconds() * 1e6);
}

// Rows of 0x??RRGGBB words to the canvas's R, G, B, A bytes (little-endian words 0xAABBGGRR),
// opaque. Every pass converts the whole frame, so four pixels at a time by one byte shuffle
// where the browser has SIMD; the compiler does not find that shuffle in the plain loop.
void ConvertFrame(const uint8_t* pixels, int32_t pitch)
{
    uint32_t* out = Display.rgba;
    for (int32_t y = 0; y < Display.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(pixels + intptr_t(y) * pitch);
        int32_t x = 0;
#if defined(__wasm_simd128__)
        const v128_t opaque = wasm_i32x4_splat(int32_t(0xFF000000));
        for (; x + 4 <= Display.width; x += 4, out += 4) {
            v128_t p = wasm_v128_load(row + x);
            p = wasm_i8x16_shuffle(p, p, 2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
            wasm_v128_store(out, wasm_v128_or(p, opaque));
        }
#endif
        for (; x < Display.width; ++x) {
            uint32_t p = row[x];
            *out++ = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
        }
    }
}
} // namespace

int32_t PlatformInitDisplay()
{
    if (Display.references++ == 0)
        WebWatchInput(1);
    return 1;
}

void PlatformQuitDisplay()
{
    if (Display.references == 0 || --Display.references > 0)
        return;
    PlatformCloseDisplay();
    WebWatchInput(0);
}

int32_t PlatformOpenDisplay(int32_t width, int32_t height, const char* title)
{
    PlatformCloseDisplay();
    if (Display.references == 0 || width < 1 || height < 1)
        return 0;
    Display.rgba = static_cast<uint32_t*>(std::malloc(size_t(width) * size_t(height) * 4));
    if (!Display.rgba)
        return 0;
    if (!WebOpenCanvas(width, height, title)) {
        std::free(Display.rgba);
        Display.rgba = nullptr;
        return 0;
    }
    Display.width = width;
    Display.height = height;
    Display.open = 1;
    Display.pacer = FramePacer{};
    EventsDisplayOpened();
    // The screen opens with the focus, as a new full-screen window takes it; a page that does
    // not give it the input takes it away at once.
    if (!WebPageFocused())
        EventsFocus(0);
    return 1;
}

void PlatformCloseDisplay()
{
    if (!Display.open)
        return;
    Display.open = 0;
    WebCloseCanvas();
    std::free(Display.rgba);
    Display.rgba = nullptr;
    EventsDisplayClosed();
}

int32_t PlatformDisplayRefreshRate()
{
    // The browser does not tell its display's rate; the pacer follows the rate the game asks.
    return 0;
}

int32_t PlatformPresent(const uint8_t* pixels, int32_t pitch, int32_t rate)
{
    if (!Display.open)
        return PRESENT_FAILED;
    ConvertFrame(pixels, pitch);
    WebShowFrame(reinterpret_cast<const uint8_t*>(Display.rgba), Display.width, Display.height);
    if (rate > 0 && !WebUnpaced())
        WebWaitForFrame(static_cast<double>(PaceFrame(Display.pacer, NowNanoseconds(), rate)) /
                        1e6);
    else
        WebYieldNow();
    return PRESENT_SHOWN;
}

int32_t PlatformRestoreDisplay()
{
    // A canvas keeps its contents when the page loses the focus: there is nothing to restore.
    return Display.open && EventsFocused() ? 1 : 0;
}
