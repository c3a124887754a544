// Measures FlipBuffers on the real display: opens the screen, shows a test pattern (a white
// frame, a red-green-blue band and a diagonal, so that scaling and placement can be checked on
// a screenshot) and flips for a few seconds, then prints the frame rate and the longest and
// shortest frame.
//   flip_rate [seconds=3] [mode=1] [rate=60] [width=1024] [height=768] [depth=32]
#include "runtime/display/screen_internal.h"
#include "runtime/runtime.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {
void DrawPattern(int32_t frame)
{
    ClearScreen(0x402000);
    Surface& back = *BackBuffer();
    uint32_t white = ScreenColor(0xFFFFFF);
    for (int32_t x = 0; x < back.width; ++x) {
        SetSurfacePixel(back, x, 0, white);
        SetSurfacePixel(back, x, back.height - 1, white);
    }
    for (int32_t y = 0; y < back.height; ++y) {
        SetSurfacePixel(back, 0, y, white);
        SetSurfacePixel(back, back.width - 1, y, white);
        int32_t x = int32_t(int64_t(y) * back.width / back.height);
        SetSurfacePixel(back, x, y, white);
    }
    const int32_t colors[] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int32_t band = 0; band < 3; ++band)
        for (int32_t y = back.height / 3; y < back.height / 3 + 40; ++y)
            for (int32_t x = band * back.width / 3; x < (band + 1) * back.width / 3; ++x)
                SetSurfacePixel(back, x, y, ScreenColor(colors[band]));
    // A moving marker, so that every frame differs.
    for (int32_t y = 20; y < 40; ++y)
        for (int32_t x = 0; x < 20; ++x)
            SetSurfacePixel(back, (frame * 4 + x) % back.width, y, white);
}

int32_t Argument(int argc, char** argv, int index, int32_t fallback)
{
    return argc > index ? std::atoi(argv[index]) : fallback;
}
} // namespace

int main(int argc, char** argv)
{
    int32_t seconds = Argument(argc, argv, 1, 3);
    int32_t mode = Argument(argc, argv, 2, 1);
    int32_t rate = Argument(argc, argv, 3, 60);
    int32_t width = Argument(argc, argv, 4, 1024), height = Argument(argc, argv, 5, 768);
    int32_t depth = Argument(argc, argv, 6, 32);
    if (!InitSprite()) {
        std::printf("InitSprite failed: no display\n");
        return 1;
    }
    SetFrameRate(rate);
    if (!OpenScreen(width, height, depth, "flip rate")) {
        std::printf("OpenScreen %dx%dx%d failed\n", width, height, depth);
        return 1;
    }
    using Clock = std::chrono::steady_clock;
    Clock::time_point start = Clock::now(), last = start;
    double shortest = 1e9, longest = 0;
    int32_t frames = 0;
    while (Clock::now() - start < std::chrono::seconds(seconds)) {
        DrawPattern(frames);
        FlipBuffers(mode);
        Clock::time_point now = Clock::now();
        double ms = std::chrono::duration<double, std::milli>(now - last).count();
        if (frames > 0) {
            shortest = std::min(shortest, ms);
            longest = std::max(longest, ms);
        }
        last = now;
        ++frames;
    }
    double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%dx%dx%d, FlipBuffers(%d), rate asked %d: %d frames in %.2f s = %.2f frames/s; "
                "frame %.2f..%.2f ms\n",
                width, height, depth, mode, rate, frames, elapsed, frames / elapsed, shortest,
                longest);
    CloseScreen();
    EndSprite();
    ReleaseKeyboard();
    return 0;
}
