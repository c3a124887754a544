// The game's world scene on a 1024 x 768 32-bit back buffer, drawn side by side by the
// runtime's 3D sprites on the headless screen (our quad rasterizer on both cores), by pixman
// (bilinear affine transforms, a solid opacity mask and OVER; the light as an 8-bit alpha image
// with IN_REVERSE) and by SDL2's software renderer (SDL_RenderGeometry). After the runs a summary
// gives each frame time, pixman's time over ours, and the mean absolute channel difference of each
// picture from pixman's.
#include "runtime/display/quad_batch.h"
#include "runtime/display/screen_internal.h"
#include "runtime/runtime.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {
constexpr int32_t WIDTH = 1024;
constexpr int32_t HEIGHT = 768;
constexpr int32_t GRADIENT_SIZE = 1024;
constexpr uint32_t WATER = 0x000A14; // red 0, green 10, blue 20 as bytes B G R x
constexpr uint32_t KEY = 0xFF00FF;
constexpr int32_t CELL_KINDS = 4;

enum TextureId { BUBBLE = 1, PLAYER = 2, LIGHT = 3, CELL = 4, DARK = 10 };

// One display as the game makes it, and the vertices it gives (for pixman and SDL2).
struct Item {
    int32_t texture; // also the number of its sprite and 3D sprite
    int32_t size;    // zoomed to size x size before the display
    bool zoom;       // false: left as created (bubbles and the light)
    bool rotate;
    int32_t angle;
    int32_t x, y, opacity;
    TLVertex vertices[4];
    bool multiply; // the light: factors (9, 8)
};

struct Texture {
    int32_t size = 0;
    pixman_image_t* pixman = nullptr;
    SDL_Texture* sdl = nullptr;
    std::vector<uint32_t> premultiplied; // pixman's pixels
    std::vector<uint8_t> grey;           // the light's alpha for pixman
};

uint32_t NextRandom(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

int32_t Between(uint32_t& state, int32_t low, int32_t high)
{
    return low + static_cast<int32_t>(NextRandom(state) % static_cast<uint32_t>(high - low + 1));
}

uint32_t Rgb(int32_t r, int32_t g, int32_t b)
{
    auto c = [](int32_t v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return c(r) << 16 | c(g) << 8 | c(b);
}

// A bubble: a faint ring with a highlight, on the key.
uint32_t BubbleTexel(int32_t x, int32_t y, int32_t)
{
    double d = std::hypot(x - 31.5, y - 31.5);
    if (d > 30)
        return KEY;
    int32_t rim = d > 26 ? 120 : 30 + static_cast<int32_t>(d * 2);
    int32_t shine = std::hypot(x - 22.0, y - 20.0) < 6 ? 110 : 0;
    return Rgb(rim / 2 + shine, rim + shine, rim + 40 + shine);
}

// A cell: a membrane, cytoplasm with a grain pattern and a nucleus, on the key.
uint32_t CellTexel(int32_t x, int32_t y, int32_t kind)
{
    double dx = (x - 63.5) / 60.0, dy = (y - 63.5) / (46.0 + 4 * kind);
    double d = std::sqrt(dx * dx + dy * dy);
    if (d > 1)
        return KEY;
    if (d > 0.9)
        return Rgb(60 + 40 * kind, 200, 120 + 30 * kind);
    if (std::hypot(x - 70.0, y - 58.0) < 16)
        return Rgb(140, 40 + 30 * kind, 90);
    int32_t grain = ((x * 7 + y * 13) % 17) * 3;
    return Rgb(30 + 20 * kind + grain, 110 + grain, 70 + 35 * kind);
}

// The player: a round cell with a pointed front.
uint32_t PlayerTexel(int32_t x, int32_t y, int32_t)
{
    double d = std::hypot(x - 31.5, y - 35.5);
    bool nose = y >= 2 && y < 14 && std::abs(x - 31.5) < (y - 2) * 0.6;
    if (d > 26 && !nose)
        return KEY;
    return d > 22 && !nose ? Rgb(250, 230, 120) : Rgb(200, 120 + y, 60);
}

// The light: white within radius 145, one grey step darker per pixel, black from 400 on.
uint32_t LightTexel(int32_t x, int32_t y, int32_t)
{
    double d = std::hypot(x - GRADIENT_SIZE / 2.0, y - GRADIENT_SIZE / 2.0);
    int32_t grey = std::clamp(static_cast<int32_t>(400 - d), 0, 255);
    return Rgb(grey, grey, grey);
}

Texture MakeTexture(int32_t number, int32_t size, uint32_t (*texel)(int32_t, int32_t, int32_t),
                    int32_t kind, SDL_Renderer* renderer, bool light)
{
    Texture t;
    t.size = size;
    CreateSprite(number, size, size, 4);
    Surface& ours = *SpriteSurface(number);
    SDL_Surface* sdl = SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_ARGB8888);
    t.premultiplied.resize(static_cast<size_t>(size) * size);
    t.grey.resize(static_cast<size_t>(size) * size);
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) {
            uint32_t value = texel(x, y, kind);
            std::memcpy(SurfaceRow(ours, y) + 4 * x, &value, 4);
            size_t i = static_cast<size_t>(y) * size + x;
            t.premultiplied[i] = value == KEY ? 0 : 0xFF000000 | value;
            t.grey[i] = static_cast<uint8_t>(value & 255);
            uint32_t argb = value == KEY ? 0 : 0xFF000000 | value;
            std::memcpy(static_cast<uint8_t*>(sdl->pixels) + y * sdl->pitch + 4 * x, &argb, 4);
        }
    if (light)
        t.pixman = pixman_image_create_bits(PIXMAN_a8, size, size,
                                            reinterpret_cast<uint32_t*>(t.grey.data()), size);
    else
        t.pixman =
            pixman_image_create_bits(PIXMAN_a8r8g8b8, size, size, t.premultiplied.data(), size * 4);
    pixman_image_set_filter(t.pixman, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    t.sdl = SDL_CreateTextureFromSurface(renderer, sdl);
    SDL_SetTextureBlendMode(t.sdl, light ? SDL_BLENDMODE_MOD : SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(t.sdl, SDL_ScaleModeLinear);
    SDL_FreeSurface(sdl);
    CreateSprite3D(number, number);
    return t;
}

Item MakeItem(int32_t texture, int32_t size, bool zoom, bool rotate, int32_t angle, int32_t x,
              int32_t y, int32_t opacity)
{
    Item item{texture, size, zoom, rotate, angle, x, y, opacity, {}, texture == LIGHT};
    Sprite3DRecord record{};
    record.zoomWidth = record.zoomHeight = static_cast<int16_t>(size);
    SetUprightCorners(record, size, size);
    if (rotate)
        RotateCorners(record, angle, 0);
    PlaceCorners(record, x, y, opacity, item.vertices);
    return item;
}

struct Scene {
    SDL_Surface* sdlTarget = nullptr;
    SDL_Renderer* renderer = nullptr;
    pixman_image_t* pixman = nullptr;
    std::vector<uint32_t> pixmanPixels;
    std::vector<Texture> textures;
    pixman_image_t* opacity[256] = {};
    std::vector<Item> items;
    int32_t lightX = 0, lightY = 0;
};

Scene* TheScene = nullptr;

void BuildTextures(Scene& scene)
{
    scene.sdlTarget = SDL_CreateRGBSurfaceWithFormat(0, WIDTH, HEIGHT, 32, SDL_PIXELFORMAT_RGB888);
    scene.renderer = SDL_CreateSoftwareRenderer(scene.sdlTarget);
    if (!InitSprite() || !InitSprite3D() || !OpenScreen(WIDTH, HEIGHT, 32, "scene"))
        std::fprintf(stderr, "the headless screen did not open\n");
    SetTransparentColor(-1, static_cast<int32_t>(KEY));
    Sprite3DQuality(1);
    CreateSprite(DARK, GRADIENT_SIZE, GRADIENT_SIZE, 0);
    scene.pixmanPixels.assign(static_cast<size_t>(WIDTH) * HEIGHT, 0);
    scene.pixman = pixman_image_create_bits(PIXMAN_x8r8g8b8, WIDTH, HEIGHT,
                                            scene.pixmanPixels.data(), WIDTH * 4);
    scene.textures.resize(CELL + CELL_KINDS);
    scene.textures[BUBBLE] = MakeTexture(BUBBLE, 64, BubbleTexel, 0, scene.renderer, false);
    scene.textures[PLAYER] = MakeTexture(PLAYER, 64, PlayerTexel, 0, scene.renderer, false);
    scene.textures[LIGHT] = MakeTexture(LIGHT, GRADIENT_SIZE, LightTexel, 0, scene.renderer, true);
    for (int32_t kind = 0; kind < CELL_KINDS; ++kind)
        scene.textures[CELL + kind] =
            MakeTexture(CELL + kind, 128, CellTexel, kind, scene.renderer, false);
    for (int32_t a = 0; a < 256; ++a) {
        pixman_color_t color{0, 0, 0, static_cast<uint16_t>(a * 257)};
        scene.opacity[a] = pixman_image_create_solid_fill(&color);
    }
}

void LayOut(Scene& scene, int32_t cells)
{
    scene.items.clear();
    uint32_t seed = 2026;
    for (int32_t i = 0; i < 62; ++i)
        scene.items.push_back(MakeItem(BUBBLE, 64, false, false, 0, Between(seed, -32, WIDTH - 32),
                                       Between(seed, -32, HEIGHT - 32), Between(seed, 108, 148)));
    for (int32_t i = 0; i < cells; ++i) {
        int32_t size = Between(seed, 32, 160);
        scene.items.push_back(
            MakeItem(CELL + i % CELL_KINDS, size, true, true, Between(seed, 0, 359),
                     Between(seed, -size / 2, WIDTH - size / 2),
                     Between(seed, -size / 2, HEIGHT - size / 2), Between(seed, 160, 170)));
    }
    scene.items.push_back(
        MakeItem(PLAYER, 64, true, true, 30, WIDTH / 2 - 32, HEIGHT / 2 - 32, 196));
    scene.lightX = WIDTH / 2 - GRADIENT_SIZE / 2;
    scene.lightY = HEIGHT / 2 - GRADIENT_SIZE / 2;
    scene.items.push_back(
        MakeItem(LIGHT, GRADIENT_SIZE, false, false, 0, scene.lightX, scene.lightY, 255));
}

// The eight darkness squares around the light.
void DarknessSquares(const Scene& scene, int32_t squares[8][2])
{
    const int32_t steps[8][2] = {{-1, -1}, {-1, 0}, {0, -1}, {1, 1},
                                 {1, 0},   {0, 1},  {-1, 1}, {1, -1}};
    for (int i = 0; i < 8; ++i) {
        squares[i][0] = scene.lightX + steps[i][0] * GRADIENT_SIZE;
        squares[i][1] = scene.lightY + steps[i][1] * GRADIENT_SIZE;
    }
}

// The frame as the game draws it, through the runtime's operations.
void DrawOurs(Scene& scene)
{
    Start3D();
    ClearScreen(static_cast<int32_t>(ColorRGB(0, 10, 20)));
    Sprite3DBlendingMode(BLEND_SRCALPHA, BLEND_INVSRCALPHA);
    for (const Item& item : scene.items) {
        if (item.multiply)
            Sprite3DBlendingMode(BLEND_DESTCOLOR, BLEND_INVDESTALPHA);
        if (item.zoom)
            ZoomSprite3D(item.texture, item.size, item.size);
        if (item.rotate)
            RotateSprite3D(item.texture, item.angle, 0);
        DisplaySprite3D(item.texture, item.x, item.y, item.opacity);
    }
    Stop3D();
    int32_t squares[8][2];
    DarknessSquares(scene, squares);
    for (auto& square : squares)
        DisplaySprite(DARK, square[0], square[1]);
}

// Screen to texture: the affine map of the quad's first triangle.
pixman_transform_t TextureTransform(const Item& item, int32_t size)
{
    const TLVertex* v = item.vertices;
    double ax = v[1].x - v[0].x, ay = v[1].y - v[0].y, bx = v[2].x - v[0].x, by = v[2].y - v[0].y;
    double det = ax * by - bx * ay;
    // (px, py) - v0 = a * (ax, ay) + b * (bx, by); texture = (a * size, b * size).
    double m[2][3] = {{by / det * size, -bx / det * size, 0},
                      {-ay / det * size, ax / det * size, 0}};
    for (int r = 0; r < 2; ++r)
        m[r][2] = -(m[r][0] * v[0].x + m[r][1] * v[0].y);
    pixman_transform_t t;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            t.matrix[r][c] = pixman_double_to_fixed(m[r][c]);
    t.matrix[2][0] = t.matrix[2][1] = 0;
    t.matrix[2][2] = pixman_fixed_1;
    return t;
}

void DrawPixman(Scene& scene)
{
    pixman_color_t water{0, static_cast<uint16_t>(10 * 257), static_cast<uint16_t>(20 * 257),
                         0xFFFF};
    pixman_rectangle16_t all{0, 0, WIDTH, HEIGHT};
    pixman_image_fill_rectangles(PIXMAN_OP_SRC, scene.pixman, &water, 1, &all);
    for (const Item& item : scene.items) {
        Texture& texture = scene.textures[item.texture];
        if (item.multiply) {
            int32_t x = std::max(scene.lightX, 0), y = std::max(scene.lightY, 0);
            int32_t right = std::min(scene.lightX + GRADIENT_SIZE, WIDTH);
            int32_t bottom = std::min(scene.lightY + GRADIENT_SIZE, HEIGHT);
            pixman_image_composite32(PIXMAN_OP_IN_REVERSE, texture.pixman, nullptr, scene.pixman,
                                     x - scene.lightX, y - scene.lightY, 0, 0, x, y, right - x,
                                     bottom - y);
            continue;
        }
        float left = item.vertices[0].x, right = left, top = item.vertices[0].y, bottom = top;
        for (const TLVertex& v : item.vertices) {
            left = std::min(left, v.x), right = std::max(right, v.x);
            top = std::min(top, v.y), bottom = std::max(bottom, v.y);
        }
        int32_t x0 = std::max(0, static_cast<int32_t>(std::floor(left)));
        int32_t y0 = std::max(0, static_cast<int32_t>(std::floor(top)));
        int32_t x1 = std::min(WIDTH, static_cast<int32_t>(std::ceil(right)));
        int32_t y1 = std::min(HEIGHT, static_cast<int32_t>(std::ceil(bottom)));
        if (x0 >= x1 || y0 >= y1)
            continue;
        pixman_transform_t transform = TextureTransform(item, texture.size);
        pixman_image_set_transform(texture.pixman, &transform);
        pixman_image_composite32(PIXMAN_OP_OVER, texture.pixman,
                                 scene.opacity[item.vertices[0].diffuse >> 24], scene.pixman, x0,
                                 y0, 0, 0, x0, y0, x1 - x0, y1 - y0);
    }
    int32_t squares[8][2];
    DarknessSquares(scene, squares);
    pixman_color_t black{0, 0, 0, 0xFFFF};
    for (auto& square : squares) {
        int32_t x0 = std::max(square[0], 0), y0 = std::max(square[1], 0);
        int32_t x1 = std::min(square[0] + GRADIENT_SIZE, WIDTH);
        int32_t y1 = std::min(square[1] + GRADIENT_SIZE, HEIGHT);
        if (x0 >= x1 || y0 >= y1)
            continue;
        pixman_rectangle16_t box{static_cast<int16_t>(x0), static_cast<int16_t>(y0),
                                 static_cast<uint16_t>(x1 - x0), static_cast<uint16_t>(y1 - y0)};
        pixman_image_fill_rectangles(PIXMAN_OP_SRC, scene.pixman, &black, 1, &box);
    }
}

const int SDL_INDICES[6] = {0, 1, 2, 1, 3, 2};

// SDL 2.26's software triangles crash on triangles much larger than 800 pixels, so the light
// (unrotated, at its own size) goes in tiles of 256 pixels.
void DrawSdlLight(Scene& scene, const Item& item)
{
    constexpr int32_t TILE = 256;
    float x0 = item.vertices[0].x, y0 = item.vertices[0].y;
    for (int32_t ty = 0; ty < GRADIENT_SIZE; ty += TILE)
        for (int32_t tx = 0; tx < GRADIENT_SIZE; tx += TILE) {
            SDL_Vertex v[4];
            for (int i = 0; i < 4; ++i) {
                float u = static_cast<float>(tx + (i & 1) * TILE),
                      w = static_cast<float>(ty + (i >> 1) * TILE);
                v[i] = {
                    {x0 + u, y0 + w}, {255, 255, 255, 255}, {u / GRADIENT_SIZE, w / GRADIENT_SIZE}};
            }
            SDL_RenderGeometry(scene.renderer, scene.textures[item.texture].sdl, v, 4, SDL_INDICES,
                               6);
        }
}

void DrawSdl(Scene& scene)
{
    SDL_SetRenderDrawBlendMode(scene.renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(scene.renderer, 0, 10, 20, 255);
    SDL_RenderClear(scene.renderer);
    for (const Item& item : scene.items) {
        if (item.multiply) {
            DrawSdlLight(scene, item);
            continue;
        }
        SDL_Vertex v[4];
        for (int i = 0; i < 4; ++i) {
            const TLVertex& t = item.vertices[i];
            v[i] = {{t.x, t.y}, {255, 255, 255, static_cast<Uint8>(t.diffuse >> 24)}, {t.tu, t.tv}};
        }
        SDL_RenderGeometry(scene.renderer, scene.textures[item.texture].sdl, v, 4, SDL_INDICES, 6);
    }
    int32_t squares[8][2];
    DarknessSquares(scene, squares);
    SDL_SetRenderDrawColor(scene.renderer, 0, 0, 0, 255);
    for (auto& square : squares) {
        SDL_Rect box{square[0], square[1], GRADIENT_SIZE, GRADIENT_SIZE};
        SDL_RenderFillRect(scene.renderer, &box);
    }
    SDL_RenderFlush(scene.renderer);
}

// Mean absolute difference of the blue, green and red bytes of two 1024 x 768 frames.
double MeanDifference(const uint8_t* a, int32_t pitchA, const uint8_t* b, int32_t pitchB)
{
    uint64_t total = 0;
    for (int32_t y = 0; y < HEIGHT; ++y)
        for (int32_t x = 0; x < WIDTH; ++x)
            for (int32_t c = 0; c < 3; ++c)
                total += static_cast<uint64_t>(
                    std::abs(a[y * pitchA + 4 * x + c] - b[y * pitchB + 4 * x + c]));
    return static_cast<double>(total) / (3.0 * WIDTH * HEIGHT);
}

std::map<int32_t, double> DifferenceOurs, DifferenceSdl;

void CompareFrames(Scene& scene, int32_t cells)
{
    LayOut(scene, cells);
    DrawOurs(scene);
    DrawPixman(scene);
    DrawSdl(scene);
    const auto* pixman = reinterpret_cast<const uint8_t*>(scene.pixmanPixels.data());
    DifferenceOurs[cells] =
        MeanDifference(BackBuffer()->pixels, BackBuffer()->pitch, pixman, WIDTH * 4);
    SDL_LockSurface(scene.sdlTarget);
    DifferenceSdl[cells] = MeanDifference(static_cast<const uint8_t*>(scene.sdlTarget->pixels),
                                          scene.sdlTarget->pitch, pixman, WIDTH * 4);
    SDL_UnlockSurface(scene.sdlTarget);
}

template <void (*Draw)(Scene&)>
void RenderScene(benchmark::State& state)
{
    Scene& scene = *TheScene;
    LayOut(scene, static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        Draw(scene);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void Ours(benchmark::State& state)
{
    RenderScene<DrawOurs>(state);
}
// Ours on the calling thread alone, to show what the second core adds.
void OursOneCore(benchmark::State& state)
{
    StopQuadHelper();
    RenderScene<DrawOurs>(state);
    StartQuadHelper();
}
void Pixman(benchmark::State& state)
{
    RenderScene<DrawPixman>(state);
}
void Sdl2(benchmark::State& state)
{
    RenderScene<DrawSdl>(state);
}

BENCHMARK(Ours)->Arg(50)->Arg(200)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(OursOneCore)->Arg(50)->Arg(200)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Pixman)->Arg(50)->Arg(200)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Sdl2)->Arg(50)->Arg(200)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);

// Keeps every run's real time per renderer and cell count for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, std::map<int32_t, double>> milliseconds;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            std::string name = run.benchmark_name();
            size_t slash = name.find('/');
            int32_t cells = std::atoi(name.c_str() + slash + 1);
            double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            milliseconds[name.substr(0, slash)][cells] = seconds * 1000.0;
        }
    }
};
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Scene scene;
    BuildTextures(scene);
    TheScene = &scene;
    for (int32_t cells : {50, 200, 1000})
        CompareFrames(scene, cells);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%6s %10s %12s %10s %10s %12s %11s %11s\n", "cells", "ours ms", "one core ms",
                "pixman ms", "sdl2 ms", "pixman/ours", "diff ours", "diff sdl2");
    for (int32_t cells : {50, 200, 1000}) {
        double ours = reporter.milliseconds["Ours"][cells];
        double pixman = reporter.milliseconds["Pixman"][cells];
        double sdl = reporter.milliseconds["Sdl2"][cells];
        std::printf("%6d %10.3f %12.3f %10.3f %10.3f %12.2f %11.3f %11.3f\n", cells, ours,
                    reporter.milliseconds["OursOneCore"][cells], pixman, sdl,
                    ours > 0 ? pixman / ours : 0.0, DifferenceOurs[cells], DifferenceSdl[cells]);
    }
    FreeAllSprite3D();
    EndSprite();
    benchmark::Shutdown();
    return 0;
}
