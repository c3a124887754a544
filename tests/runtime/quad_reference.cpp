// The reference drawing of textured quads: per pixel, per channel, no stepping, no vectors.
#include "quad_reference.h"

#include <algorithm>
#include <cmath>

namespace {
struct Point {
    int64_t x, y; // 1/256 pixel
    double s, t;  // texel coordinates
};

uint32_t Round255(uint32_t value)
{
    return (2 * value + 255) / 510;
}

uint32_t Raw(const Surface& surface, int32_t x, int32_t y)
{
    const uint8_t* p = SurfaceRow(surface, y) + x * surface.bytesPerPixel;
    uint32_t value = 0;
    for (int32_t i = surface.bytesPerPixel - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

// Blue, green, red 0..255 of a raw pixel.
void Channels(uint32_t raw, int32_t format, uint32_t out[3])
{
    auto five = [](uint32_t v) { return (v << 3) | (v >> 2); };
    switch (format) {
    case FORMAT_555:
        out[0] = five(raw & 31), out[1] = five(raw >> 5 & 31), out[2] = five(raw >> 10 & 31);
        break;
    case FORMAT_565:
        out[0] = five(raw & 31), out[1] = (raw >> 5 & 63) << 2 | (raw >> 9 & 3),
        out[2] = five(raw >> 11 & 31);
        break;
    case FORMAT_RGB24:
    case FORMAT_RGB32:
        out[2] = raw & 255, out[1] = raw >> 8 & 255, out[0] = raw >> 16 & 255;
        break;
    default:
        out[0] = raw & 255, out[1] = raw >> 8 & 255, out[2] = raw >> 16 & 255;
        break;
    }
}

void Store(Surface& surface, int32_t x, int32_t y, const uint32_t bgr[3])
{
    uint8_t* p = SurfaceRow(surface, y) + x * surface.bytesPerPixel;
    uint32_t b = bgr[0], g = bgr[1], r = bgr[2], value;
    switch (surface.format) {
    case FORMAT_555:
        value = (Raw(surface, x, y) & 0x8000) | (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
        break;
    case FORMAT_565:
        value = (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
        break;
    case FORMAT_RGB24:
    case FORMAT_RGB32:
        value = r | g << 8 | b << 16;
        break;
    default:
        value = b | g << 8 | r << 16;
        break;
    }
    int32_t bytes = surface.bytesPerPixel == 4 ? 3 : surface.bytesPerPixel;
    for (int32_t i = 0; i < bytes; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

struct Texel {
    uint32_t c[4]; // premultiplied blue, green, red; weight
};

Texel TexelAt(const Surface& texture, int32_t x, int32_t y, const QuadState& state)
{
    x = std::clamp(x, 0, texture.width - 1);
    y = std::clamp(y, 0, texture.height - 1);
    uint32_t raw = Raw(texture, x, y);
    uint32_t colorBits = texture.format == FORMAT_555   ? 0x7FFF
                         : texture.format == FORMAT_565 ? 0xFFFF
                                                        : 0xFFFFFF;
    if (state.colorKeyEnabled && texture.hasColorKey &&
        (raw & colorBits) == (texture.colorKey & colorBits))
        return {{0, 0, 0, 0}};
    Texel texel;
    Channels(raw, texture.format, texel.c);
    texel.c[3] = state.alphaModulate && texture.bytesPerPixel == 4 ? raw >> 24 : 255;
    for (int c = 0; c < 3; ++c)
        texel.c[c] = Round255(texel.c[c] * texel.c[3]);
    return texel;
}

Texel Sample(const Surface& texture, int32_t s, int32_t t, const QuadState& state)
{
    if (!state.filterLinear)
        return TexelAt(texture, static_cast<int32_t>(std::floor(s / 65536.0)),
                       static_cast<int32_t>(std::floor(t / 65536.0)), state);
    int32_t s8 = static_cast<int32_t>(std::floor(s / 256.0));
    int32_t t8 = static_cast<int32_t>(std::floor(t / 256.0));
    int32_t x = static_cast<int32_t>(std::floor(s8 / 256.0)),
            y = static_cast<int32_t>(std::floor(t8 / 256.0));
    uint32_t fx = static_cast<uint32_t>(s8 - x * 256), fy = static_cast<uint32_t>(t8 - y * 256);
    Texel a = TexelAt(texture, x, y, state), b = TexelAt(texture, x + 1, y, state);
    Texel c = TexelAt(texture, x, y + 1, state), d = TexelAt(texture, x + 1, y + 1, state);
    Texel out;
    for (int k = 0; k < 4; ++k) {
        uint32_t top = (a.c[k] * (256 - fx) + b.c[k] * fx + 128) / 256;
        uint32_t bottom = (c.c[k] * (256 - fx) + d.c[k] * fx + 128) / 256;
        out.c[k] = (top * (256 - fy) + bottom * fy + 128) / 256;
    }
    return out;
}

uint32_t Factor(int32_t factor, uint32_t color, uint32_t alpha, uint32_t dest)
{
    uint32_t values[] = {0,   0, 255,  color,      255 - color, alpha, 255 - alpha,
                         255, 0, dest, 255 - dest, 0,           alpha, 255 - alpha};
    return values[factor];
}

void Blend(const Texel& sample, uint32_t alpha, const Surface& texture, const QuadState& state,
           uint32_t pixel[3])
{
    uint32_t w = sample.c[3];
    int32_t src = state.blendEnabled ? state.srcBlend : BLEND_ONE;
    int32_t dst = state.blendEnabled ? state.destBlend : BLEND_ZERO;
    for (int c = 0; c < 3; ++c) {
        uint32_t p = sample.c[c], d = pixel[c];
        if (src == BLEND_SRCALPHA && dst == BLEND_INVSRCALPHA) {
            pixel[c] = Round255(p * alpha) + Round255(d * (255 - Round255(w * alpha)));
            continue;
        }
        if (src == BLEND_DESTCOLOR && dst == BLEND_INVDESTALPHA) {
            pixel[c] = Round255(p * d) + Round255(d * (255 - w));
            continue;
        }
        bool textureAlpha = state.alphaModulate && texture.bytesPerPixel == 4;
        uint32_t sourceAlpha = textureAlpha ? Round255(w * alpha) : alpha;
        uint32_t coverage = textureAlpha ? 255 : w;
        uint32_t color = w == 0 ? 0 : std::min<uint32_t>(255, (2 * p * 255 + w) / (2 * w));
        int32_t destFactor = src == BLEND_BOTHSRCALPHA      ? BLEND_INVSRCALPHA
                             : src == BLEND_BOTHINVSRCALPHA ? BLEND_SRCALPHA
                                                            : dst;
        int32_t full = static_cast<int32_t>(
            std::min<uint32_t>(255, Round255(Factor(src, color, sourceAlpha, d) * color) +
                                        Round255(Factor(destFactor, color, sourceAlpha, d) * d)));
        int32_t change = full - static_cast<int32_t>(d);
        int32_t mixed =
            static_cast<int32_t>(Round255(static_cast<uint32_t>(std::abs(change)) * coverage));
        pixel[c] = static_cast<uint32_t>(static_cast<int32_t>(d) + (change < 0 ? -mixed : mixed));
    }
}

// Twice the signed area of (a, b, p), positive when p lies to the inside of a clockwise edge.
int64_t Edge(const Point& a, const Point& b, int64_t px, int64_t py)
{
    return (py - a.y) * (b.x - a.x) - (px - a.x) * (b.y - a.y);
}

bool OwnsEdge(const Point& a, const Point& b)
{
    return a.y > b.y || (a.y == b.y && b.x > a.x); // a left edge, or a top edge
}

void DrawTriangle(Surface& target, const Surface& texture, Point p0, Point p1, Point p2,
                  uint32_t alpha, const QuadState& state)
{
    int64_t area = Edge(p0, p1, p2.x, p2.y);
    if (area == 0)
        return;
    if (area < 0)
        std::swap(p1, p2);
    const Point* p[3] = {&p0, &p1, &p2};
    // Only the pixels of the bounding box can be inside.
    int32_t top = static_cast<int32_t>(
        std::clamp<int64_t>(std::min({p0.y, p1.y, p2.y}) / 256 - 1, 0, target.height));
    int32_t bottom = static_cast<int32_t>(
        std::clamp<int64_t>(std::max({p0.y, p1.y, p2.y}) / 256 + 1, 0, target.height));
    int32_t left = static_cast<int32_t>(
        std::clamp<int64_t>(std::min({p0.x, p1.x, p2.x}) / 256 - 1, 0, target.width));
    int32_t right = static_cast<int32_t>(
        std::clamp<int64_t>(std::max({p0.x, p1.x, p2.x}) / 256 + 1, 0, target.width));
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x) {
            int64_t px = x * 256 + 128, py = y * 256 + 128;
            bool inside = true;
            double weight[3];
            for (int e = 0; e < 3 && inside; ++e) {
                const Point &a = *p[e], &b = *p[(e + 1) % 3];
                int64_t value = Edge(a, b, px, py);
                inside = value > 0 || (value == 0 && OwnsEdge(a, b));
                weight[(e + 2) % 3] =
                    static_cast<double>(value) / static_cast<double>(std::llabs(area));
            }
            if (!inside)
                continue;
            double s = 0, t = 0;
            for (int i = 0; i < 3; ++i)
                s += weight[i] * p[i]->s, t += weight[i] * p[i]->t;
            auto fixed = [](double v, double high) {
                return static_cast<int32_t>(
                    std::floor(std::clamp(v, -1.0, high + 1.0) * 65536 + 0.5));
            };
            Texel texel = Sample(texture, fixed(s, texture.width), fixed(t, texture.height), state);
            uint32_t pixel[3];
            Channels(Raw(target, x, y), target.format, pixel);
            Blend(texel, alpha, texture, state, pixel);
            Store(target, x, y, pixel);
        }
}
} // namespace

void ReferenceDrawQuad(Surface& target, const Surface& texture, const TLVertex vertices[4],
                       const QuadState& state)
{
    if (target.format == FORMAT_PALETTE || texture.format == FORMAT_PALETTE)
        return;
    double offset = state.filterLinear ? 0.5 : 0.0;
    Point points[4];
    for (int i = 0; i < 4; ++i) {
        const TLVertex& v = vertices[i];
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || std::fabs(v.x) > 4194304.0 ||
            std::fabs(v.y) > 4194304.0)
            return;
        points[i] = {std::llround(v.x * 256.0), std::llround(v.y * 256.0),
                     v.tu * double(texture.width) - offset, v.tv * double(texture.height) - offset};
    }
    uint32_t alpha = vertices[0].diffuse >> 24;
    DrawTriangle(target, texture, points[0], points[1], points[2], alpha, state);
    DrawTriangle(target, texture, points[1], points[3], points[2], alpha, state);
}
