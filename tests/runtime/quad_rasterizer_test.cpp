#include "quad_reference.h"
#include "runtime/display/quad_batch.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace {
using SurfacePtr = std::unique_ptr<Surface, void (*)(Surface*)>;

SurfacePtr MakeSurface(int32_t width, int32_t height, int32_t format)
{
    return SurfacePtr(CreateSurface(width, height, format), FreeSurface);
}

uint32_t NextRandom(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

void FillRandom(Surface& surface, uint32_t seed)
{
    for (int32_t y = 0; y < surface.height; ++y)
        for (int32_t x = 0; x < surface.width * surface.bytesPerPixel; ++x)
            SurfaceRow(surface, y)[x] = static_cast<uint8_t>(NextRandom(seed));
}

uint32_t RawPixel(const Surface& surface, int32_t x, int32_t y)
{
    uint32_t value = 0;
    std::memcpy(&value, SurfaceRow(surface, y) + x * surface.bytesPerPixel, surface.bytesPerPixel);
    return value;
}

void SetRawPixel(Surface& surface, int32_t x, int32_t y, uint32_t value)
{
    std::memcpy(SurfaceRow(surface, y) + x * surface.bytesPerPixel, &value, surface.bytesPerPixel);
}

uint32_t ColorBits(int32_t format)
{
    return format == FORMAT_565 ? 0xFFFF : 0xFFFFFF;
}

// An upright quad with its top-left at (x, y), drawn with diffuse alpha.
void UprightQuad(TLVertex v[4], float x, float y, float width, float height, uint32_t alpha)
{
    for (int i = 0; i < 4; ++i) {
        float right = static_cast<float>(i & 1), bottom = static_cast<float>(i >> 1);
        v[i] = {x + right * width,
                y + bottom * height,
                0,
                1,
                (alpha << 24) | 0xFFFFFF,
                0,
                right,
                bottom};
    }
}

// A quad of the given size rotated by degrees about its centre (cx, cy).
void RotatedQuad(TLVertex v[4], float cx, float cy, float width, float height, double degrees,
                 uint32_t alpha)
{
    UprightQuad(v, 0, 0, width, height, alpha);
    double c = std::cos(degrees * 3.14159265358979 / 180),
           s = std::sin(degrees * 3.14159265358979 / 180);
    for (int i = 0; i < 4; ++i) {
        double dx = v[i].x - width / 2, dy = v[i].y - height / 2;
        v[i].x = static_cast<float>(cx + dx * c - dy * s);
        v[i].y = static_cast<float>(cy + dx * s + dy * c);
    }
}

bool SamePixels(const Surface& a, const Surface& b, std::string& where)
{
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x)
            if (RawPixel(a, x, y) != RawPixel(b, x, y)) {
                where = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
                return false;
            }
    return true;
}

// The largest difference of one color channel between two surfaces, in steps of the
// channel's own bits.
int MaxChannelDifference(const Surface& a, const Surface& b)
{
    int largest = 0;
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x) {
            uint32_t p = RawPixel(a, x, y), q = RawPixel(b, x, y);
            int shifts[3] = {0, 8, 16}, masks[3] = {255, 255, 255};
            if (a.format == FORMAT_565)
                shifts[1] = 5, shifts[2] = 11, masks[0] = 31, masks[1] = 63, masks[2] = 31;
            for (int c = 0; c < 3; ++c)
                largest = std::max(largest, std::abs(int(p >> shifts[c] & masks[c]) -
                                                     int(q >> shifts[c] & masks[c])));
        }
    return largest;
}

SurfacePtr Copy(const Surface& surface)
{
    SurfacePtr copy = MakeSurface(surface.width, surface.height, surface.format);
    std::memcpy(copy->pixels, surface.pixels, static_cast<size_t>(surface.pitch) * surface.height);
    return copy;
}

// A texture with random colors and every seventh texel the color key (magenta).
SurfacePtr KeyedTexture(int32_t width, int32_t height, int32_t format, uint32_t seed)
{
    SurfacePtr texture = MakeSurface(width, height, format);
    FillRandom(*texture, seed);
    uint32_t key = format == FORMAT_565 ? 0xF81F : 0xFF00FF;
    for (int32_t i = 0; i < width * height; i += 7)
        SetRawPixel(*texture, i % width, i / width, key);
    texture->hasColorKey = 1;
    texture->colorKey = key;
    return texture;
}

struct VectorPaths {
    explicit VectorPaths(bool on) : previous(SetQuadVectorPaths(on)) {}
    ~VectorPaths() { SetQuadVectorPaths(previous); }
    bool previous;
};
} // namespace

TEST(QuadRasterizer, UnrotatedQuadAtTextureSizeCopiesTexelsExactly)
{
    struct Position {
        int32_t x, y;
    } positions[] = {{0, 0}, {13, 7}, {-10, -5}, {100, 90}};
    for (int32_t format : {FORMAT_565, FORMAT_BGR24, FORMAT_BGR32})
        for (int32_t filter : {0, 1})
            for (bool vectors : {false, true})
                for (const Position& at : positions) {
                    VectorPaths paths(vectors);
                    SurfacePtr texture = KeyedTexture(37, 23, format, 11);
                    SurfacePtr target = MakeSurface(120, 100, format);
                    FillRandom(*target, 5);
                    SurfacePtr before = Copy(*target);
                    TLVertex v[4];
                    UprightQuad(v, float(at.x), float(at.y), 37, 23, 255);
                    QuadState state;
                    state.filterLinear = filter;
                    DrawQuad(*target, *texture, v, state);
                    int wrong = 0;
                    for (int32_t y = 0; y < target->height; ++y)
                        for (int32_t x = 0; x < target->width; ++x) {
                            int32_t u = x - at.x, w = y - at.y;
                            uint32_t expected = RawPixel(*before, x, y);
                            if (u >= 0 && u < 37 && w >= 0 && w < 23 &&
                                RawPixel(*texture, u, w) != texture->colorKey)
                                expected = RawPixel(*texture, u, w);
                            uint32_t bits = ColorBits(format);
                            wrong += (RawPixel(*target, x, y) & bits) != (expected & bits);
                        }
                    EXPECT_EQ(wrong, 0) << "format " << format << " filter " << filter
                                        << " vectors " << vectors << " at " << at.x << ", " << at.y;
                }
}

TEST(QuadRasterizer, QuadsSharingEdgesDrawEveryPixelOnce)
{
    // A grid of quads with shared corners, added onto black with factors (2, 2): a pixel drawn
    // twice would read 2. Jittered corners make general quads (two triangles each); a regular
    // grid at fractional spacing makes parallelograms (drawn whole).
    SurfacePtr texture = MakeSurface(4, 4, FORMAT_BGR32);
    for (int32_t i = 0; i < 16; ++i)
        SetRawPixel(*texture, i % 4, i / 4, 0x010101);
    SurfacePtr target = MakeSurface(200, 200, FORMAT_BGR32);
    QuadState state;
    state.srcBlend = BLEND_ONE;
    state.destBlend = BLEND_ONE;
    for (bool jitter : {true, false}) {
        uint32_t seed = 3;
        float corner[9][9][2];
        for (int j = 0; j < 9; ++j)
            for (int i = 0; i < 9; ++i)
                for (int axis = 0; axis < 2; ++axis)
                    corner[j][i][axis] = 10 + 22.37f * (axis ? j : i) +
                                         (jitter ? (NextRandom(seed) % 1536) / 256.0f - 3 : 0);
        // Whole-pixel corners too, where centres fall exactly on diagonal edges.
        if (jitter)
            corner[4][4][0] = 98, corner[4][4][1] = 98, corner[4][5][0] = 120, corner[4][5][1] = 98;
        for (bool vectors : {false, true}) {
            VectorPaths paths(vectors);
            std::memset(target->pixels, 0, static_cast<size_t>(target->pitch) * target->height);
            for (int j = 0; j < 8; ++j)
                for (int i = 0; i < 8; ++i) {
                    TLVertex v[4];
                    UprightQuad(v, 0, 0, 1, 1, 255);
                    for (int k = 0; k < 4; ++k) {
                        v[k].x = corner[j + (k >> 1)][i + (k & 1)][0];
                        v[k].y = corner[j + (k >> 1)][i + (k & 1)][1];
                    }
                    DrawQuad(*target, *texture, v, state);
                }
            int twice = 0, missing = 0;
            for (int32_t y = 0; y < 200; ++y)
                for (int32_t x = 0; x < 200; ++x) {
                    uint32_t value = RawPixel(*target, x, y) & 0xFFFFFF;
                    twice += value > 0x010101;
                    bool inner = x >= 16 && x < 180 && y >= 16 && y < 180;
                    missing += inner && value != 0x010101;
                }
            EXPECT_EQ(twice, 0) << "jitter " << jitter << " vectors " << vectors;
            EXPECT_EQ(missing, 0) << "jitter " << jitter << " vectors " << vectors;
        }
    }
}

TEST(QuadRasterizer, EveryPathMatchesTheReferenceOverSmallDomains)
{
    // A 5 x 5 texture of extreme and mixed colors and key texels, magnified 16 times, so
    // that bilinear fractions step through 0, 16, ... 240 and every texel meets every
    // neighbour; the destination runs through all channel values.
    const uint32_t colors[] = {0xFF00FF, 0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00,
                               0x0000FF, 0x7F8081, 0x010203, 0xFEFDFC, 0xFF00FE};
    struct Pair {
        int32_t src, dest;
    } pairs[] = {{5, 6}, {9, 8},  {2, 1},  {2, 2},  {3, 4}, {5, 2},
                 {9, 6}, {10, 7}, {12, 1}, {13, 1}, {11, 6}};
    for (int32_t format : {FORMAT_565, FORMAT_BGR24, FORMAT_BGR32}) {
        SurfacePtr texture = MakeSurface(5, 5, format);
        for (int32_t i = 0; i < 25; ++i) {
            uint32_t c = colors[(i * 3) % 10];
            uint32_t r = c >> 16, g = c >> 8 & 255, b = c & 255;
            uint32_t raw = format == FORMAT_565 ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3 : c;
            SetRawPixel(*texture, i % 5, i / 5, raw);
        }
        texture->hasColorKey = 1;
        texture->colorKey = format == FORMAT_565 ? 0xF81F : 0xFF00FF;
        SurfacePtr target = MakeSurface(88, 88, format);
        for (int32_t y = 0; y < 88; ++y)
            for (int32_t x = 0; x < 88; ++x)
                SetRawPixel(*target, x, y,
                            (x * 255 / 87) | (y * 255 / 87) << 8 | ((x * 3 + y * 5) & 255) << 16);
        for (int32_t filter : {0, 1})
            for (const Pair& pair : pairs)
                for (uint32_t alpha : {0u, 1u, 127u, 128u, 254u, 255u}) {
                    // The 16 and 24-bit formats share the plain path: a few cases suffice.
                    bool few = pair.src == 5 || pair.src == 9 || pair.src == 3;
                    if (format != FORMAT_BGR32 && (!few || alpha == 1 || alpha == 254))
                        continue;
                    QuadState state;
                    state.filterLinear = filter;
                    state.srcBlend = pair.src;
                    state.destBlend = pair.dest;
                    TLVertex v[4];
                    UprightQuad(v, 4, 4, 80, 80, alpha);
                    SurfacePtr expected = Copy(*target);
                    ReferenceDrawQuad(*expected, *texture, v, state);
                    for (bool vectors : {false, true}) {
                        VectorPaths paths(vectors);
                        SurfacePtr drawn = Copy(*target);
                        DrawQuad(*drawn, *texture, v, state);
                        std::string where;
                        EXPECT_TRUE(SamePixels(*drawn, *expected, where))
                            << where << " format " << format << " filter " << filter << " factors "
                            << pair.src << "/" << pair.dest << " alpha " << alpha << " vectors "
                            << vectors;
                    }
                }
    }
}

TEST(QuadRasterizer, BilinearFractionsAndAlphaTexturesMatchTheReference)
{
    // Two texels stretched over 512 pixels: every one of the 256 fractions on each axis.
    SurfacePtr texture = MakeSurface(2, 2, FORMAT_BGR32);
    SetRawPixel(*texture, 0, 0, 0x80FF00FF);
    SetRawPixel(*texture, 1, 0, 0x40FFFFFF);
    SetRawPixel(*texture, 0, 1, 0xFF123456);
    SetRawPixel(*texture, 1, 1, 0x00ABCDEF);
    texture->hasColorKey = 1;
    texture->colorKey = 0xFF00FF;
    SurfacePtr target = MakeSurface(520, 520, FORMAT_BGR32);
    FillRandom(*target, 9);
    for (int32_t modulate : {0, 1})
        for (int32_t src : {5, 9}) {
            QuadState state;
            state.filterLinear = 1;
            state.alphaModulate = modulate;
            state.colorKeyEnabled = !modulate;
            state.srcBlend = src;
            state.destBlend = src == 5 ? 6 : 8;
            TLVertex v[4];
            UprightQuad(v, 2, 3, 512, 512, 200);
            SurfacePtr expected = Copy(*target), drawn = Copy(*target);
            ReferenceDrawQuad(*expected, *texture, v, state);
            DrawQuad(*drawn, *texture, v, state);
            std::string where;
            EXPECT_TRUE(SamePixels(*drawn, *expected, where))
                << where << " modulate " << modulate << " factor " << src;
        }
}

TEST(QuadRasterizer, CopiesUnderBothBlendsMatchTheReferenceWhateverTheirKeyedTexels)
{
    // Texels copied one to one: rows with no key texel, rows with one, rows all key, all
    // black, all white, under both of the game's blends, from the first texel and from one
    // inside the texture; and the same texels with no key at all, as the light has.
    SurfacePtr texture = MakeSurface(45, 12, FORMAT_BGR32);
    FillRandom(*texture, 21);
    for (int32_t x = 0; x < 45; ++x) {
        SetRawPixel(*texture, x, 0, 0x7F000000);
        SetRawPixel(*texture, x, 1, 0x00FFFFFF);
        SetRawPixel(*texture, x, 9, 0xFF00FF);
        SetRawPixel(*texture, x, 10, 0xFF00FF);
    }
    SetRawPixel(*texture, 17, 3, 0x55FF00FF);
    SetRawPixel(*texture, 44, 6, 0xFF00FF);
    texture->colorKey = 0xFF00FF;
    SurfacePtr target = MakeSurface(64, 20, FORMAT_BGR32);
    FillRandom(*target, 22);
    for (int32_t src : {5, 9})
        for (float left : {0.0f, 5.0f})
            for (int32_t keyed : {0, 1})
                for (bool vectors : {false, true}) {
                    VectorPaths paths(vectors);
                    texture->hasColorKey = keyed;
                    QuadState state;
                    state.filterLinear = 1;
                    state.srcBlend = src;
                    state.destBlend = src == 5 ? 6 : 8;
                    TLVertex v[4];
                    UprightQuad(v, 3 - left, 2, 45, 12, 180);
                    SurfacePtr expected = Copy(*target), drawn = Copy(*target);
                    ReferenceDrawQuad(*expected, *texture, v, state);
                    DrawQuad(*drawn, *texture, v, state);
                    std::string where;
                    EXPECT_TRUE(SamePixels(*drawn, *expected, where))
                        << where << " factor " << src << " left " << left << " keyed " << keyed
                        << " vectors " << vectors;
                }
}

TEST(QuadRasterizer, VectorPathsGiveThePlainPixelsOnRotatedQuads)
{
    if (!QuadVectorPathsAvailable())
        GTEST_SKIP() << "no vector paths on this processor";
    SurfacePtr texture = KeyedTexture(61, 47, FORMAT_BGR32, 21);
    SurfacePtr target = MakeSurface(300, 240, FORMAT_BGR32);
    FillRandom(*target, 4);
    uint32_t seed = 77;
    for (int round = 0; round < 60; ++round) {
        QuadState state;
        state.filterLinear = round & 1;
        state.srcBlend = round & 2 ? BLEND_DESTCOLOR : BLEND_SRCALPHA;
        state.destBlend = round & 2 ? BLEND_INVDESTALPHA : BLEND_INVSRCALPHA;
        TLVertex v[4];
        float size = 8.0f + NextRandom(seed) % 300;
        RotatedQuad(v, float(NextRandom(seed) % 340) - 20, float(NextRandom(seed) % 280) - 20, size,
                    size * 0.75f, NextRandom(seed) % 3600 / 10.0, NextRandom(seed) % 256);
        SurfacePtr plain = Copy(*target), fast = Copy(*target);
        {
            VectorPaths paths(false);
            DrawQuad(*plain, *texture, v, state);
        }
        DrawQuad(*fast, *texture, v, state);
        std::string where;
        EXPECT_TRUE(SamePixels(*fast, *plain, where)) << where << " round " << round;
    }
}

TEST(QuadRasterizer, RotatedQuadsStayWithinOneTexelStepOfTheReference)
{
    // Stepping along a span rounds texel coordinates a little differently from the
    // reference's per-pixel weights: a sample on a texel boundary may take the neighbour.
    // The texture is a smooth ramp (neighbours differ by at most 7), so any larger difference
    // is a wrong mapping.
    uint32_t seed = 5;
    for (int32_t format : {FORMAT_565, FORMAT_BGR24, FORMAT_BGR32}) {
        SurfacePtr texture = MakeSurface(33, 29, format);
        for (int32_t y = 0; y < 29; ++y)
            for (int32_t x = 0; x < 33; ++x) {
                uint32_t b = x * 6, g = y * 7, r = (x + y) * 3;
                SetRawPixel(*texture, x, y,
                            format == FORMAT_565 ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3
                                                 : b | g << 8 | r << 16);
            }
        SurfacePtr target = MakeSurface(160, 120, format);
        FillRandom(*target, 6);
        for (int round = 0; round < 12; ++round) {
            QuadState state;
            state.filterLinear = round & 1;
            state.srcBlend = round & 2 ? BLEND_DESTCOLOR : BLEND_SRCALPHA;
            state.destBlend = round & 2 ? BLEND_INVDESTALPHA : BLEND_INVSRCALPHA;
            TLVertex v[4];
            RotatedQuad(v, 80, 60, 20.0f + NextRandom(seed) % 100, 20.0f + NextRandom(seed) % 100,
                        NextRandom(seed) % 360, 255);
            SurfacePtr expected = Copy(*target), drawn = Copy(*target);
            ReferenceDrawQuad(*expected, *texture, v, state);
            DrawQuad(*drawn, *texture, v, state);
            EXPECT_LE(MaxChannelDifference(*drawn, *expected), format == FORMAT_565 ? 2 : 8)
                << "format " << format << " round " << round;
        }
    }
}

TEST(QuadRasterizer, BilinearKeyEdgesNeverShowTheKeyColor)
{
    // White disc on the magenta key, zoomed and turned: every pixel drawn onto black must stay
    // grey; a bleeding key would tint the disc's rim.
    SurfacePtr texture = MakeSurface(64, 64, FORMAT_BGR32);
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            int32_t dx = x - 32, dy = y - 32;
            SetRawPixel(*texture, x, y, dx * dx + dy * dy < 500 ? 0xFFFFFF : 0xFF00FF);
        }
    texture->hasColorKey = 1;
    texture->colorKey = 0xFF00FF;
    for (bool vectors : {false, true}) {
        VectorPaths paths(vectors);
        SurfacePtr target = MakeSurface(200, 200, FORMAT_BGR32);
        QuadState state;
        state.filterLinear = 1;
        TLVertex v[4];
        RotatedQuad(v, 100, 100, 150, 130, 33, 200);
        DrawQuad(*target, *texture, v, state);
        int tinted = 0, lit = 0;
        for (int32_t y = 0; y < 200; ++y)
            for (int32_t x = 0; x < 200; ++x) {
                uint32_t p = RawPixel(*target, x, y);
                tinted += (p & 255) != (p >> 8 & 255) || (p & 255) != (p >> 16 & 255);
                lit += (p & 255) != 0;
            }
        EXPECT_EQ(tinted, 0) << "vectors " << vectors;
        EXPECT_GT(lit, 5000) << "vectors " << vectors;
    }
}

TEST(QuadRasterizer, RefusesQuadsItCannotDraw)
{
    SurfacePtr texture = KeyedTexture(8, 8, FORMAT_BGR32, 1);
    SurfacePtr target = MakeSurface(32, 32, FORMAT_BGR32);
    SurfacePtr palette = MakeSurface(32, 32, FORMAT_PALETTE);
    FillRandom(*target, 2);
    SurfacePtr before = Copy(*target);
    const float nan = std::nanf(""), inf = INFINITY;
    struct Case {
        const char* name;
        float x, y, width, height;
        int32_t src;
        Surface* onto;
    } cases[] = {
        {"not a number", nan, 0, 8, 8, 5, target.get()},
        {"infinite", 0, 0, inf, 8, 5, target.get()},
        {"beyond the limit", 5e6f, 0, 8, 8, 5, target.get()},
        {"no area", 4, 4, 0, 8, 5, target.get()},
        {"off the target", -50, 40, 8, 8, 5, target.get()},
        {"unknown factor", 0, 0, 8, 8, 14, target.get()},
        {"palette target", 0, 0, 8, 8, 5, palette.get()},
    };
    for (const Case& c : cases) {
        TLVertex v[4];
        UprightQuad(v, c.x, c.y, c.width, c.height, 255);
        QuadState state;
        state.srcBlend = c.src;
        QuadSetup setup;
        EXPECT_FALSE(PrepareQuad(setup, *c.onto, *texture, v, state)) << c.name;
        DrawQuad(*c.onto, *texture, v, state);
    }
    std::string where;
    EXPECT_TRUE(SamePixels(*target, *before, where)) << where;
}

TEST(QuadRasterizer, BatchesGiveTheOneThreadPicture)
{
    // Large turned quads cut by many bands, then more small ones than a batch holds.
    SurfacePtr texture = KeyedTexture(128, 128, FORMAT_BGR32, 31);
    SurfacePtr alone = MakeSurface(400, 300, FORMAT_BGR32);
    FillRandom(*alone, 12);
    SurfacePtr batched = Copy(*alone);
    bool started = StartQuadHelper();
    EXPECT_FALSE(AddFill(*batched, 0)) << "no scene is open";
    SetQuadSceneOpen(true);
    uint32_t seed = 1;
    for (int round = 0; round < 4400; ++round) {
        if (round == 150) { // a clear waits among the quads and covers those before it
            FillSurface(*alone, 0x123456);
            EXPECT_TRUE(AddFill(*batched, 0x123456));
        }
        QuadState state;
        state.filterLinear = round & 1;
        TLVertex v[4];
        float size = round < 200 ? 16.0f + NextRandom(seed) % 200 : 4.0f;
        RotatedQuad(v, float(NextRandom(seed) % 400), float(NextRandom(seed) % 300), size, size,
                    NextRandom(seed) % 360, 100 + NextRandom(seed) % 156);
        DrawQuad(*alone, *texture, v, state);
        AddQuad(*batched, *texture, v, state);
    }
    EXPECT_GT(PendingQuads(), 0);
    DrawQuadBatch();
    EXPECT_EQ(PendingQuads(), 0);
    SetQuadSceneOpen(false);
    StopQuadHelper();
    std::string where;
    EXPECT_TRUE(SamePixels(*batched, *alone, where)) << where << " helper started " << started;
}
