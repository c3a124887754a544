// 2D drawing and sprite loading: the per-frame overlay text, the start-up light sprite of
// 256 filled circles, and the load-time conversion of a decoded image into the screen's format.
#include "runtime/display/default_font.h"
#include "runtime/display/sprite_conversion.h"
#include "runtime/runtime.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {
// The overlay's thirteen lines of text on a 1024 x 768 back buffer, transparent background.
void OverlayText(benchmark::State& state)
{
    Surface* surface = CreateSurface(1024, 768, FORMAT_BGR32);
    SurfaceDrawing holder;
    LoadDefaultFont();
    for (auto _ : state) {
        StartDrawing(BeginSurfaceDrawing(&holder, surface, 32));
        SetDrawingMode(1);
        DrawText(10, 10, "Alpha Built 0802251612", 0xFFFFFF);
        for (int32_t i = 0; i < 12; ++i)
            DrawText(924, 10 + 30 * i, "-1234 ScreenPosX", 0xFFFFFF);
        StopDrawing();
    }
    FreeSurface(surface);
}
BENCHMARK(OverlayText)->Unit(benchmark::kMicrosecond);

// The light sprite of asset loading: 256 circles from radius 400 down on a 1024 x 1024 sprite.
void LightSprite(benchmark::State& state)
{
    Surface* surface = CreateSurface(1024, 1024, FORMAT_BGR32);
    SurfaceDrawing holder;
    for (auto _ : state) {
        StartDrawing(BeginSurfaceDrawing(&holder, surface, 32));
        DrawBox(0, 0, 1280, 800, 0);
        for (uint32_t i = 0; i < 256; ++i)
            DrawCircle(512, 512, 400 - static_cast<int32_t>(i), i | i << 8 | i << 16);
        StopDrawing();
    }
    FreeSurface(surface);
}
BENCHMARK(LightSprite)->Unit(benchmark::kMillisecond);

// A decoded 256 x 256 image (24 or 32 bits) into a 16 or 32-bit screen format.
void ConvertImage(benchmark::State& state)
{
    int32_t depth = static_cast<int32_t>(state.range(0));
    int32_t format = static_cast<int32_t>(state.range(1));
    const int32_t side = 256;
    int32_t pitch = side * depth / 8 + side % 4;
    std::vector<uint8_t> pixels(static_cast<size_t>(pitch) * side, 0x5A);
    Surface* surface = CreateSurface(side, side, format);
    SourceImage image{pixels.data(), side, side, pitch, depth, 0};
    for (auto _ : state)
        benchmark::DoNotOptimize(ConvertImageToSurface(image, *surface, 1));
    state.SetItemsProcessed(state.iterations() * side * side);
    FreeSurface(surface);
}
BENCHMARK(ConvertImage)->Args({24, 7})->Args({32, 7})->Args({24, 3})->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
