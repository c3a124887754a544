#include "runtime/display/default_font.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <utility>

namespace {
using Pixels = std::set<std::pair<int, int>>;

// A surface lent to drawing for the length of a test.
struct Canvas {
    Surface* surface;
    SurfaceDrawing holder;
    explicit Canvas(int32_t width, int32_t height, int32_t format = 7)
        : surface(CreateSurface(width, height, format))
    {
        StartDrawing(BeginSurfaceDrawing(&holder, surface, 32));
    }
    ~Canvas()
    {
        StopDrawing();
        FreeSurface(surface);
    }
    uint32_t At(int x, int y) const { return GetSurfacePixel(*surface, x, y); }
    Pixels Where(uint32_t value) const
    {
        Pixels found;
        for (int y = 0; y < surface->height; ++y)
            for (int x = 0; x < surface->width; ++x)
                if (At(x, y) == value)
                    found.insert({x, y});
        return found;
    }
};

constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t WHITE_PIXEL = 0xFFFFFF; // format 7
constexpr uint32_t MAGENTA = 0xFF00FF;
} // namespace

TEST(DrawBox, CoversItsColumnsAndRowsAndOnePixelBoxIsOnePixel)
{
    Canvas c(16, 16);
    DrawBox(0, 0, 16, 16, MAGENTA);
    EXPECT_EQ(c.Where(0xFF00FF).size(), 256u);
    DrawBox(3, 4, 1, 1, WHITE);
    EXPECT_EQ(c.Where(WHITE_PIXEL), (Pixels{{3, 4}}));
    DrawBox(5, 6, 3, 2, WHITE);
    EXPECT_EQ(c.Where(WHITE_PIXEL),
              (Pixels{{3, 4}, {5, 6}, {6, 6}, {7, 6}, {5, 7}, {6, 7}, {7, 7}}));
    // Far outside and enormous: clipped, never written out of bounds.
    DrawBox(-100000, -5, 2000000000, 2000000000, 0x0000FF);
    EXPECT_EQ(c.Where(0xFF0000).size(), 256u);
}

namespace {
// The slow reference of a line without its end point: each step along the longer axis takes
// the pixel nearest to the exact line, halves rounded up.
Pixels ReferenceLine(int x1, int y1, int x2, int y2, int width, int height)
{
    Pixels p;
    int dx = x2 - x1, dy = y2 - y1;
    int steps = std::max(std::abs(dx), std::abs(dy));
    for (int t = 0; t < steps; ++t) {
        int x = x1 + static_cast<int>(std::floor(static_cast<double>(t) * dx / steps + 0.5));
        int y = y1 + static_cast<int>(std::floor(static_cast<double>(t) * dy / steps + 0.5));
        if (x >= 0 && y >= 0 && x < width && y < height)
            p.insert({x, y});
    }
    return p;
}
} // namespace

TEST(DrawLine, MatchesTheReferenceAndIncludesTheEndPoint)
{
    struct Case {
        int x1, y1, x2, y2;
    } cases[] = {{1, 1, 16, 8},  {1, 1, 8, 16},      {16, 8, 8, 16}, {0, 0, 0, 0},
                 {5, 5, -40, 9}, {-30, -7, 40, 25},  {20, 3, 2, 3},  {3, 20, 3, -2},
                 {0, 23, 23, 0}, {-1000, 5, 1000, 6}};
    for (const Case& k : cases) {
        Canvas c(24, 24);
        DrawLine(k.x1, k.y1, k.x2, k.y2, WHITE);
        Pixels expected = ReferenceLine(k.x1, k.y1, k.x2, k.y2, 24, 24);
        if (k.x2 >= 0 && k.y2 >= 0 && k.x2 < 24 && k.y2 < 24)
            expected.insert({k.x2, k.y2});
        EXPECT_EQ(c.Where(WHITE_PIXEL), expected)
            << "(" << k.x1 << "," << k.y1 << ")-(" << k.x2 << "," << k.y2 << ")";
    }
    Canvas c(24, 24);
    DrawLine(-2000000000, 1, 2000000000, 1, WHITE); // visits only what is on the surface
    EXPECT_EQ(c.Where(WHITE_PIXEL).size(), 24u);
}

TEST(DrawCircle, RadiusOneIsASquareAndLargerCirclesCoverPixelCentresInside)
{
    {
        Canvas c(8, 8);
        DrawCircle(2, 3, 1, WHITE);
        EXPECT_EQ(c.Where(WHITE_PIXEL), (Pixels{{2, 3}, {3, 3}, {2, 4}, {3, 4}}));
    }
    struct Case {
        int x, y, rx, ry;
    } cases[] = {{2, 2, 2, 2}, {3, 3, 3, 3}, {10, 8, 7, 4}, {0, 0, 5, 5}, {12, 12, 30, 9}};
    for (const Case& k : cases) {
        Canvas c(20, 20);
        DrawEllipse(k.x, k.y, k.rx, k.ry, WHITE);
        Pixels expected;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                double u = (x + 0.5 - k.x) / k.rx, v = (y + 0.5 - k.y) / k.ry;
                if (u * u + v * v <= 1.0)
                    expected.insert({x, y});
            }
        EXPECT_EQ(c.Where(WHITE_PIXEL), expected)
            << k.x << "," << k.y << " " << k.rx << "x" << k.ry;
    }
}

TEST(DrawingModes, OutlinesOnlyAndInvertingShapes)
{
    Canvas c(12, 12);
    SetDrawingMode(4);
    DrawBox(1, 1, 5, 4, WHITE);
    Pixels outline;
    for (int x = 1; x <= 5; ++x)
        outline.insert({{x, 1}, {x, 4}});
    for (int y = 2; y <= 3; ++y)
        outline.insert({{1, y}, {5, y}});
    EXPECT_EQ(c.Where(WHITE_PIXEL), outline);

    DrawBox(0, 0, 12, 12, 0x123456);
    SetDrawingMode(2);
    Surface* before = CreateSurface(12, 12, FORMAT_BGR32);
    std::memcpy(before->pixels, c.surface->pixels, static_cast<size_t>(before->pitch) * 12);
    DrawBox(2, 2, 6, 6, WHITE);
    EXPECT_EQ(GetSurfacePixel(*c.surface, 4, 4), GetSurfacePixel(*before, 4, 4) ^ 0xFFFFFF);
    DrawBox(2, 2, 6, 6, MAGENTA);
    DrawCircle(6, 6, 4, WHITE);
    DrawCircle(6, 6, 4, 0);
    EXPECT_EQ(
        std::memcmp(before->pixels, c.surface->pixels, static_cast<size_t>(before->pitch) * 12), 0);
    FreeSurface(before);
}

TEST(DrawText, DefaultModeHasAWhiteBoxAndTransparentModeNone)
{
    ASSERT_TRUE(LoadDefaultFont()) << "no default font: none from fontconfig, or none shipped";
    Canvas c(200, 40);
    DrawBox(0, 0, 200, 40, 0x808080);
    int32_t end = DrawText(10, 5, "Speed 42", 0x0000FF);
    EXPECT_GT(end, 10 + 8 * 4);
    EXPECT_EQ(end, 10 + DefaultFontTextWidth("Speed 42"));
    Pixels box = c.Where(WHITE_PIXEL);
    EXPECT_FALSE(box.empty());
    for (const auto& [x, y] : box) {
        EXPECT_GE(x, 10);
        EXPECT_LT(x, end);
        EXPECT_GE(y, 5);
        EXPECT_LT(y, 5 + DefaultFontHeight());
    }
    EXPECT_FALSE(c.Where(0xFF0000).empty());
    EXPECT_EQ(DrawText(77, 3, "", WHITE), 77);

    DrawBox(0, 0, 200, 40, 0x808080);
    SetDrawingMode(1);
    DrawText(10, 5, "Speed 42", 0x0000FF);
    EXPECT_TRUE(c.Where(WHITE_PIXEL).empty());
    EXPECT_FALSE(c.Where(0xFF0000).empty());
    // After direct plots the text call takes the context back with the mode still in force.
    PlotPixel(0, 0, 0x00FF00);
    DrawText(10, 20, "Angle", 0x0000FF);
    EXPECT_TRUE(c.Where(WHITE_PIXEL).empty());
    EXPECT_EQ(c.At(0, 0), 0x00FF00u);
}

TEST(PlotPixel, DirectWritesEqualTheContextPathInEveryFormat)
{
    const uint32_t colors[] = {0x000000, 0xFFFFFF, 0xFF00FF, 0x0000FF, 0x00FF00,
                               0xFF0000, 0x123456, 0x89ABCD, 0x070707, 0xF8FCF8};
    for (int32_t format = FORMAT_PALETTE; format <= FORMAT_BGR32; ++format)
        for (uint32_t color : colors) {
            Surface* plotted = CreateSurface(4, 3, format);
            SurfaceDrawing holder;
            StartDrawing(BeginSurfaceDrawing(&holder, plotted, 32));
            PlotPixel(2, 1, color);
            PlotPixel(9, 1, color); // outside: skipped
            PlotPixel(-1, 0, color);
            DrawBox(0, 0, 1, 1, color); // one pixel through the context
            StopDrawing();
            EXPECT_EQ(holder.held, 0);
            EXPECT_EQ(GetSurfacePixel(*plotted, 2, 1), GetSurfacePixel(*plotted, 0, 0))
                << "format " << format << " color " << std::hex << color;
            FreeSurface(plotted);
        }
    // Known values of the formats.
    struct Case {
        int32_t format;
        uint32_t color, pixel;
    } known[] = {{1, 0x123456, 0x56},    {2, MAGENTA, 0x7C1F},    {3, MAGENTA, 0xF81F},
                 {3, 0x00FC00, 0x07E0},  {4, 0x123456, 0x123456}, {5, 0x123456, 0x563412},
                 {6, MAGENTA, 0xFF00FF}, {7, 0x0000FF, 0xFF0000}};
    for (const Case& k : known)
        EXPECT_EQ(ColorToPixel(k.format, k.color), k.pixel) << "format " << k.format;
}

TEST(Drawing, NothingHappensWithoutAnOpenDrawingAndOneLendingAtATime)
{
    Surface* surface = CreateSurface(8, 8, FORMAT_BGR32);
    StopDrawing();
    DrawBox(0, 0, 8, 8, WHITE);
    PlotPixel(1, 1, WHITE);
    EXPECT_EQ(DrawText(5, 5, "x", WHITE), 0);
    EXPECT_EQ(StartDrawing(nullptr), nullptr);
    EXPECT_EQ(GetSurfacePixel(*surface, 1, 1), 0u);

    SurfaceDrawing holder;
    DrawTarget* target = BeginSurfaceDrawing(&holder, surface, 32);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(BeginSurfaceDrawing(&holder, surface, 32), nullptr);
    EXPECT_NE(StartDrawing(target), nullptr);
    PlotPixel(1, 1, WHITE);
    EXPECT_EQ(holder.held, -1);
    DrawBox(2, 2, 2, 2, WHITE); // takes the context back
    EXPECT_EQ(holder.held, 1);
    // The owner ends the drawing behind its back (as a flip does) and lends the surface anew.
    EndSurfaceDrawing(&holder);
    DrawTarget* again = BeginSurfaceDrawing(&holder, surface, 32);
    ASSERT_NE(again, nullptr);
    DrawBox(5, 5, 2, 2, WHITE); // the old drawing is over: nothing
    EXPECT_EQ(GetSurfacePixel(*surface, 5, 5), 0u);
    StopDrawing();
    EXPECT_EQ(holder.held, 1); // the new lending is untouched

    // The same while the surface is locked for direct writes.
    StartDrawing(again);
    PlotPixel(0, 0, WHITE);
    EndSurfaceDrawing(&holder);
    ASSERT_NE(BeginSurfaceDrawing(&holder, surface, 32), nullptr);
    PlotPixel(7, 7, WHITE);
    DrawBox(6, 0, 2, 2, WHITE);
    EXPECT_EQ(GetSurfacePixel(*surface, 7, 7), 0u);
    EXPECT_EQ(GetSurfacePixel(*surface, 6, 0), 0u);
    StopDrawing();
    EXPECT_EQ(holder.held, 1);
    EndSurfaceDrawing(&holder);
    FreeSurface(surface);
}
