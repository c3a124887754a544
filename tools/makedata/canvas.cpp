// Blending and flattening of the generator's canvas.
#include "tools/makedata/canvas.h"

#include "tools/makedata/steady_math.h"

#include <cmath>

namespace {
// Below this opacity a pixel is left to the color key: it would hardly show over the water.
constexpr double BARE_ALPHA = 0.035;

} // namespace

uint8_t ToByte(double value)
{
    return static_cast<uint8_t>(std::nearbyint(Clamp(value, 0.0, 255.0)));
}

Rgb Shade(Rgb color, double factor)
{
    return {color.r * factor, color.g * factor, color.b * factor};
}

Canvas MakeCanvas(int32_t width, int32_t height)
{
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.scale = width / 2.0;
    canvas.pixels.assign(static_cast<size_t>(width) * height * 4, 0.0);
    return canvas;
}

void BlendPixel(Canvas& canvas, int32_t x, int32_t y, const Paint& paint)
{
    double a = Clamp(paint.alpha, 0.0, 1.0);
    double* p = &canvas.pixels[(static_cast<size_t>(y) * canvas.width + x) * 4];
    p[0] = p[0] * (1 - a) + paint.color.r * a;
    p[1] = p[1] * (1 - a) + paint.color.g * a;
    p[2] = p[2] * (1 - a) + paint.color.b * a;
    p[3] = p[3] * (1 - a) + a;
}

double Coverage(double d, double soft)
{
    return Clamp(0.5 - d / soft, 0.0, 1.0);
}

double PixelUnit(const Canvas& canvas)
{
    return 1.0 / canvas.scale;
}

RgbImage Flatten(const Canvas& canvas)
{
    RgbImage image;
    image.width = canvas.width;
    image.height = canvas.height;
    image.rgb.resize(static_cast<size_t>(canvas.width) * canvas.height * 3);
    for (size_t i = 0; i < static_cast<size_t>(canvas.width) * canvas.height; ++i) {
        const double* p = &canvas.pixels[i * 4];
        uint8_t* out = &image.rgb[i * 3];
        if (p[3] < BARE_ALPHA) {
            out[0] = 255, out[1] = 0, out[2] = 255;
            continue;
        }
        out[0] = ToByte(WATER.r * (1 - p[3]) + p[0]);
        out[1] = ToByte(WATER.g * (1 - p[3]) + p[1]);
        out[2] = ToByte(WATER.b * (1 - p[3]) + p[2]);
        if (out[0] == 255 && out[1] == 0 && out[2] == 255)
            out[0] = 254; // a drawn pixel must never read as the key
    }
    return image;
}

void CompositeOnWater(const RgbImage& image, RgbImage& sheet, int32_t left, int32_t top)
{
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            int32_t sx = left + x, sy = top + y;
            if (sx < 0 || sy < 0 || sx >= sheet.width || sy >= sheet.height)
                continue;
            const uint8_t* in = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
            if (in[0] == 255 && in[1] == 0 && in[2] == 255)
                continue;
            uint8_t* out = &sheet.rgb[(static_cast<size_t>(sy) * sheet.width + sx) * 3];
            out[0] = in[0], out[1] = in[1], out[2] = in[2];
        }
    }
}
