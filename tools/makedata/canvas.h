// The drawing surface of the generator: premultiplied color and coverage in doubles, addressed
// in body units (the image's centre is 0, its edges are -1 and +1, y grows backward), and its
// flattening onto the magenta color key of the game's sprites.
#pragma once
#include <cstdint>
#include <vector>

struct Rgb {
    double r, g, b;
};

struct Canvas {
    int32_t width = 0;
    int32_t height = 0;
    double scale = 1;           // pixels per body unit: half the width
    std::vector<double> pixels; // r, g, b premultiplied, then alpha; 4 per pixel
};

struct RgbImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb; // top-down rows, red green blue
};

// What a shape puts on one pixel: its color and its opacity there (coverage included).
struct Paint {
    Rgb color{0, 0, 0};
    double alpha = 0;
};

// The water the game clears the screen to: edges fade toward it, never toward the key.
constexpr Rgb WATER = {0, 10, 20};

// A channel value rounded to a byte, within 0 to 255.
uint8_t ToByte(double value);
// The color with every channel times the factor.
Rgb Shade(Rgb color, double factor);

Canvas MakeCanvas(int32_t width, int32_t height);
void BlendPixel(Canvas& canvas, int32_t x, int32_t y, const Paint& paint);
// Opacity of an edge at signed distance d (negative inside) for an edge soft units wide.
double Coverage(double d, double soft);
// One pixel of the canvas in body units.
double PixelUnit(const Canvas& canvas);

// Calls shade(u, v, paint) for every pixel centre within the body-unit box and blends the paint.
template <class Shade>
void PaintBox(Canvas& canvas, double u0, double v0, double u1, double v1, Shade shade)
{
    auto column = [&](double u) {
        return static_cast<int32_t>(canvas.width / 2.0 + u * canvas.scale);
    };
    auto row = [&](double v) {
        return static_cast<int32_t>(canvas.height / 2.0 + v * canvas.scale);
    };
    int32_t x0 = column(u0) - 1, x1 = column(u1) + 1, y0 = row(v0) - 1, y1 = row(v1) + 1;
    if (x0 < 0)
        x0 = 0;
    if (y0 < 0)
        y0 = 0;
    if (x1 > canvas.width - 1)
        x1 = canvas.width - 1;
    if (y1 > canvas.height - 1)
        y1 = canvas.height - 1;
    for (int32_t y = y0; y <= y1; ++y) {
        double v = (y + 0.5 - canvas.height / 2.0) / canvas.scale;
        for (int32_t x = x0; x <= x1; ++x) {
            double u = (x + 0.5 - canvas.width / 2.0) / canvas.scale;
            Paint paint;
            shade(u, v, paint);
            if (paint.alpha > 0)
                BlendPixel(canvas, x, y, paint);
        }
    }
}

// Pixels nearly bare become the key color; all others are composited over the water color,
// so a soft edge darkens toward the water instead of blending toward magenta.
RgbImage Flatten(const Canvas& canvas);
// The same over the water color everywhere, for previews.
void CompositeOnWater(const RgbImage& image, RgbImage& sheet, int32_t left, int32_t top);
