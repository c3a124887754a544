#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// The plain definition of a blit that the fast one must match.
void ReferenceBlit(Surface& target, int32_t x, int32_t y, const Surface& source, int32_t srcX,
                   int32_t srcY, int32_t width, int32_t height, bool keyed)
{
    // 32-bit pixels compare their color bytes only.
    uint32_t mask = source.bytesPerPixel == 4 ? 0xFFFFFFu : (1u << (8 * source.bytesPerPixel)) - 1;
    for (int32_t row = 0; row < height; ++row)
        for (int32_t col = 0; col < width; ++col) {
            uint32_t p = GetSurfacePixel(source, srcX + col, srcY + row);
            if (keyed && source.hasColorKey && (p & mask) == (source.colorKey & mask))
                continue;
            SetSurfacePixel(target, x + col, y + row, p);
        }
}

std::vector<uint32_t> Pixels(const Surface& surface)
{
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < surface.height; ++y)
        for (int32_t x = 0; x < surface.width; ++x)
            out.push_back(GetSurfacePixel(surface, x, y));
    return out;
}
} // namespace

TEST(SurfaceOps, FillSetsEveryPixelInEveryFormat)
{
    for (int32_t format = FORMAT_PALETTE; format <= FORMAT_BGR32; ++format) {
        Surface* surface = CreateSurface(5, 3, format);
        ASSERT_NE(surface, nullptr);
        FillSurface(*surface, 0xA1B2C3D4u);
        uint32_t expected = surface->bytesPerPixel == 4
                                ? 0xA1B2C3D4u
                                : 0xA1B2C3D4u & ((1u << (8 * surface->bytesPerPixel)) - 1);
        for (uint32_t p : Pixels(*surface))
            ASSERT_EQ(p, expected) << "format " << format;
        FreeSurface(surface);
    }
}

TEST(SurfaceOps, KeyedAndPlainBlitsMatchTheReference)
{
    // Source pixels cycle through the key, values that differ from it in one byte, and (for
    // 32 bits) the key with a different ignored byte, which must count as the key.
    const uint32_t key = 0x00FF00FFu;
    const uint32_t values[] = {key, 0x00FF00FEu, 0x01FF00FFu, 0x00FE00FFu, 0xFFFF00FFu, 0x123456u};
    for (int32_t format : {FORMAT_PALETTE, FORMAT_565, FORMAT_BGR24, FORMAT_BGR32}) {
        Surface* source = CreateSurface(6, 5, format);
        Surface* fast = CreateSurface(9, 7, format);
        Surface* slow = CreateSurface(9, 7, format);
        ASSERT_TRUE(source && fast && slow);
        int32_t bits = 8 * source->bytesPerPixel;
        uint32_t mask = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
        source->hasColorKey = 1;
        source->colorKey = key & mask;
        for (int32_t y = 0; y < 5; ++y)
            for (int32_t x = 0; x < 6; ++x)
                SetSurfacePixel(*source, x, y, values[(x + 2 * y) % 6] & mask);
        for (int keyed = 0; keyed <= 1; ++keyed)
            for (int32_t w = 1; w <= 6; w += 5)
                for (int32_t at = 0; at <= 3; ++at) {
                    FillSurface(*fast, 0x777777u & mask);
                    FillSurface(*slow, 0x777777u & mask);
                    ASSERT_EQ(BlitSurface(*fast, at, 2, *source, 6 - w, 1, w, 4, keyed), 1);
                    ReferenceBlit(*slow, at, 2, *source, 6 - w, 1, w, 4, keyed);
                    ASSERT_EQ(Pixels(*fast), Pixels(*slow))
                        << "format " << format << " keyed " << keyed << " w " << w << " at " << at;
                }
        FreeSurface(source);
        FreeSurface(fast);
        FreeSurface(slow);
    }
}

TEST(SurfaceOps, BlitRefusesRectanglesOutsideAndMismatchedFormats)
{
    Surface* source = CreateSurface(4, 4, FORMAT_565);
    Surface* target = CreateSurface(8, 8, FORMAT_565);
    Surface* wide = CreateSurface(8, 8, FORMAT_BGR32);
    FillSurface(*source, 0xFFFF);
    struct Case {
        int32_t x, y, srcX, srcY, w, h;
    } bad[] = {{-1, 0, 0, 0, 4, 4}, {5, 0, 0, 0, 4, 4},         {0, 5, 0, 0, 4, 4},
               {0, 0, 1, 0, 4, 4},  {0, 0, 0, -1, 2, 2},        {0, 0, 0, 0, -1, 2},
               {0, 0, 0, 0, 5, 1},  {2147483647, 0, 0, 0, 4, 4}};
    for (const Case& c : bad)
        EXPECT_EQ(BlitSurface(*target, c.x, c.y, *source, c.srcX, c.srcY, c.w, c.h, 0), 0)
            << c.x << "," << c.y << " from " << c.srcX << "," << c.srcY << " " << c.w << "x" << c.h;
    EXPECT_EQ(BlitSurface(*wide, 0, 0, *source, 0, 0, 4, 4, 0), 0);
    for (uint32_t p : Pixels(*target))
        ASSERT_EQ(p, 0u);
    EXPECT_EQ(BlitSurface(*target, 4, 4, *source, 0, 0, 4, 4, 0), 1);
    EXPECT_EQ(GetSurfacePixel(*target, 7, 7), 0xFFFFu);
    FreeSurface(source);
    FreeSurface(target);
    FreeSurface(wide);
}

TEST(SurfaceOps, ConversionTo32BitsMatchesThePixelDefinition)
{
    struct Vector {
        int32_t format;
        uint32_t value, rgb;
    } vectors[] = {{FORMAT_565, 0xF81F, 0xFF00FF},
                   {FORMAT_565, 0xFFFF, 0xFFFFFF},
                   {FORMAT_565, 0x07E0, 0x00FF00},
                   {FORMAT_555, 0x7C00, 0xFF0000},
                   {FORMAT_555, 0x001F, 0x0000FF},
                   {FORMAT_RGB24, 0x0000FF, 0xFF0000},
                   {FORMAT_BGR24, 0x0000FF, 0x0000FF},
                   {FORMAT_RGB32, 0xAA0000FF, 0xFF0000},
                   {FORMAT_BGR32, 0xAAFF00FF, 0xFF00FF},
                   {FORMAT_PALETTE, 0xFF, 0xFFFFFF},
                   {FORMAT_PALETTE, 0, 0}};
    for (const Vector& v : vectors)
        EXPECT_EQ(PixelToRGB32(v.format, v.value), v.rgb) << v.format << " " << std::hex << v.value;

    // Every 16-bit value once, and a spread of 24- and 32-bit values, through the fast paths.
    for (int32_t format = FORMAT_PALETTE; format <= FORMAT_BGR32; ++format) {
        Surface* surface = CreateSurface(256, 256, format);
        ASSERT_NE(surface, nullptr);
        uint32_t seed = 12345;
        for (int32_t y = 0; y < 256; ++y)
            for (int32_t x = 0; x < 256; ++x) {
                seed = seed * 1103515245u + 12345u;
                uint32_t value = surface->bytesPerPixel == 2 ? uint32_t(y * 256 + x) : seed;
                SetSurfacePixel(*surface, x, y, value);
            }
        std::vector<uint32_t> out(256 * 256);
        ConvertSurfaceToRGB32(*surface, reinterpret_cast<uint8_t*>(out.data()), 256 * 4);
        for (int32_t y = 0; y < 256; ++y)
            for (int32_t x = 0; x < 256; ++x)
                ASSERT_EQ(out[y * 256 + x], PixelToRGB32(format, GetSurfacePixel(*surface, x, y)))
                    << "format " << format << " at " << x << "," << y;
        FreeSurface(surface);
    }
}
