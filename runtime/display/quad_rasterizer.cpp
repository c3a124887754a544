// The quad rasterizer: triangle set-up, exact scan conversion and the plain pixel path that
// defines every format, filter and blend factor. Vector kernels take over the game's spans.
#include "runtime/display/quad_rasterizer.h"

#include "runtime/display/quad_spans.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

namespace {
// Vertices beyond this many pixels from the origin would overflow the edge arithmetic.
constexpr double VERTEX_LIMIT = 4194304.0;
constexpr int64_t SUB_PIXELS = 256;
constexpr int32_t FIXED_ONE = 65536;

enum QuadKernel : int32_t { KERNEL_PLAIN = 0, KERNEL_OVER32 = 1, KERNEL_MULTIPLY32 = 2 };

std::atomic<bool> VectorPathsEnabled{true};

uint32_t Div255(uint32_t value)
{
    return (value + 127) / 255;
}

int64_t FloorDiv(int64_t numerator, int64_t denominator)
{
    int64_t quotient = numerator / denominator;
    if (numerator % denominator != 0 && numerator < 0)
        --quotient;
    return quotient;
}

int64_t CeilDiv(int64_t numerator, int64_t denominator)
{
    return -FloorDiv(-numerator, denominator);
}

// A texel as premultiplied blue, green, red and its weight.
void FetchTexel(const QuadSetup& quad, int32_t x, int32_t y, uint32_t texel[4])
{
    const Surface& texture = *quad.texture;
    uint32_t raw = LoadPixel(PixelAddress(texture, x, y), texture.bytesPerPixel);
    if ((raw & FormatColorBits(texture.format)) == quad.key) {
        texel[0] = texel[1] = texel[2] = texel[3] = 0;
        return;
    }
    UnpackChannels(texture.format, raw, texel);
    texel[3] = quad.textureAlpha ? raw >> 24 : 255;
    if (texel[3] != 255)
        for (int c = 0; c < 3; ++c)
            texel[c] = Div255(texel[c] * texel[3]);
}

uint32_t Lerp(uint32_t a, uint32_t b, uint32_t fraction)
{
    return (a * (256 - fraction) + b * fraction + 128) >> 8;
}

void SampleTexel(const QuadSetup& quad, int32_t s, int32_t t, uint32_t sample[4])
{
    int32_t maxX = quad.texture->width - 1, maxY = quad.texture->height - 1;
    if (!quad.state.filterLinear) {
        FetchTexel(quad, std::clamp(s >> 16, 0, maxX), std::clamp(t >> 16, 0, maxY), sample);
        return;
    }
    int32_t x = s >> 16, y = t >> 16;
    uint32_t fx = (s >> 8) & 255, fy = (t >> 8) & 255;
    int32_t x0 = std::clamp(x, 0, maxX), x1 = std::clamp(x + 1, 0, maxX);
    int32_t y0 = std::clamp(y, 0, maxY), y1 = std::clamp(y + 1, 0, maxY);
    uint32_t c00[4], c10[4], c01[4], c11[4];
    FetchTexel(quad, x0, y0, c00);
    FetchTexel(quad, x1, y0, c10);
    FetchTexel(quad, x0, y1, c01);
    FetchTexel(quad, x1, y1, c11);
    for (int c = 0; c < 4; ++c)
        sample[c] = Lerp(Lerp(c00[c], c10[c], fx), Lerp(c01[c], c11[c], fx), fy);
}

uint32_t FactorValue(int32_t factor, uint32_t sourceColor, uint32_t sourceAlpha, uint32_t dest)
{
    switch (factor) {
    case BLEND_ZERO:
        return 0;
    case BLEND_ONE:
        return 255;
    case BLEND_SRCCOLOR:
        return sourceColor;
    case BLEND_INVSRCCOLOR:
        return 255 - sourceColor;
    case BLEND_SRCALPHA:
        return sourceAlpha;
    case BLEND_INVSRCALPHA:
        return 255 - sourceAlpha;
    case BLEND_DESTALPHA:
        return 255;
    case BLEND_INVDESTALPHA:
        return 0;
    case BLEND_DESTCOLOR:
        return dest;
    case BLEND_INVDESTCOLOR:
        return 255 - dest;
    case BLEND_BOTHSRCALPHA:
        return sourceAlpha;
    case BLEND_BOTHINVSRCALPHA:
        return 255 - sourceAlpha;
    default:
        return 0; // source alpha saturated: min(As, 1 - Ad) with Ad = 1
    }
}

// Any factor pair: the un-premultiplied color is blended, then mixed in by the coverage.
void BlendFactors(const QuadSetup& quad, const uint32_t sample[4], uint32_t pixel[3])
{
    int32_t srcFactor = quad.state.blendEnabled ? quad.state.srcBlend : BLEND_ONE;
    int32_t destFactor = quad.state.blendEnabled ? quad.state.destBlend : BLEND_ZERO;
    if (srcFactor == BLEND_BOTHSRCALPHA)
        destFactor = BLEND_INVSRCALPHA;
    else if (srcFactor == BLEND_BOTHINVSRCALPHA)
        destFactor = BLEND_SRCALPHA;
    uint32_t weight = sample[3];
    uint32_t sourceAlpha = quad.textureAlpha ? Div255(weight * quad.alpha) : quad.alpha;
    uint32_t coverage = quad.textureAlpha ? 255 : weight;
    for (int c = 0; c < 3; ++c) {
        uint32_t color =
            weight ? std::min<uint32_t>(255, (sample[c] * 255 + weight / 2) / weight) : 0;
        uint32_t dest = pixel[c];
        uint32_t full = Div255(FactorValue(srcFactor, color, sourceAlpha, dest) * color) +
                        Div255(FactorValue(destFactor, color, sourceAlpha, dest) * dest);
        full = std::min<uint32_t>(full, 255);
        pixel[c] = full >= dest ? dest + Div255((full - dest) * coverage)
                                : dest - Div255((dest - full) * coverage);
    }
}

void BlendPixel(const QuadSetup& quad, const uint32_t sample[4], uint32_t pixel[3])
{
    const QuadState& state = quad.state;
    bool blending = state.blendEnabled;
    if (blending && state.srcBlend == BLEND_SRCALPHA && state.destBlend == BLEND_INVSRCALPHA) {
        uint32_t keep = 255 - Div255(sample[3] * quad.alpha);
        for (int c = 0; c < 3; ++c)
            pixel[c] = Div255(sample[c] * quad.alpha) + Div255(pixel[c] * keep);
    } else if (blending && state.srcBlend == BLEND_DESTCOLOR &&
               state.destBlend == BLEND_INVDESTALPHA) {
        for (int c = 0; c < 3; ++c)
            pixel[c] = Div255(sample[c] * pixel[c]) + Div255(pixel[c] * (255 - sample[3]));
    } else {
        BlendFactors(quad, sample, pixel);
    }
}

void DrawSpanPlain(const QuadSetup& quad, int32_t y, int32_t x, int32_t count, int32_t s, int32_t t,
                   int32_t ds, int32_t dt)
{
    Surface& target = *quad.target;
    int32_t bytes = target.bytesPerPixel;
    // The bits that carry no color (bit 15 of 5-5-5, the fourth byte of 32 bits) stay.
    uint32_t colorBits = FormatColorBits(target.format);
    uint8_t* p = PixelAddress(target, x, y);
    for (int32_t i = 0; i < count; ++i, p += bytes) {
        uint32_t sample[4], pixel[3];
        SampleTexel(quad, s + i * ds, t + i * dt, sample);
        uint32_t old = LoadPixel(p, bytes);
        UnpackChannels(target.format, old, pixel);
        BlendPixel(quad, sample, pixel);
        StorePixel(p, bytes,
                   PackChannels(target.format, pixel[2], pixel[1], pixel[0]) | (old & ~colorBits));
    }
}

SpanFetch ChooseFetch(const QuadSetup& quad, int32_t count, int32_t s, int32_t t, int32_t ds,
                      int32_t dt)
{
    SpanFetch sampled = quad.state.filterLinear ? FETCH_BILINEAR : FETCH_POINT;
    if (ds != FIXED_ONE || dt != 0)
        return sampled;
    // On a whole-texel position bilinear weights vanish and one texel per pixel remains.
    if (quad.state.filterLinear && ((s | t) & 0xFFFF) != 0)
        return sampled;
    int32_t x = s >> 16, y = t >> 16;
    bool inside = x >= 0 && x + count - 1 <= quad.texture->width - 1 && y >= 0 &&
                  y <= quad.texture->height - 1;
    return inside ? FETCH_CONTIGUOUS : sampled;
}

void DrawSpan(const QuadSetup& quad, int32_t y, int32_t x, int32_t count, int32_t s, int32_t t,
              int32_t ds, int32_t dt)
{
    if (quad.kernel != KERNEL_PLAIN && VectorPathsEnabled.load(std::memory_order_relaxed)) {
        SpanBlend blend = quad.kernel == KERNEL_OVER32 ? BLEND_OVER : BLEND_MULTIPLY;
        Span32Kernel kernel = VectorSpan32Kernel(ChooseFetch(quad, count, s, t, ds, dt), blend);
        if (kernel) {
            const Surface& texture = *quad.texture;
            Span32 span{reinterpret_cast<const uint32_t*>(texture.pixels),
                        texture.pitch / 4,
                        texture.width - 1,
                        texture.height - 1,
                        quad.key,
                        quad.alpha,
                        s,
                        t,
                        ds,
                        dt,
                        reinterpret_cast<uint32_t*>(SurfaceRow(*quad.target, y)) + x,
                        count};
            kernel(span);
            return;
        }
    }
    DrawSpanPlain(quad, y, x, count, s, t, ds, dt);
}

// One edge's bound on the columns of successive rows. The edge function at the centre of
// pixel x in row y is 256 * a * x + k(y), and k grows by 256 * b per row. A left edge (a > 0)
// bounds the first column, a right edge (a < 0) the column after the last, both by
// floor(n / d) for n = +-k(y): the quotient and remainder are stepped from row to row, so that
// the bounds stay exact without a division per row. A horizontal edge keeps k itself.
struct EdgeWalk {
    int32_t kind; // 0 left, 1 right, 2 horizontal
    int32_t sign; // bound = sign * quotient + offset
    int32_t offset;
    bool inclusive;
    int64_t quotient, remainder, divisor; // floor(n / d) and n mod d; k for a horizontal edge
    int64_t stepQuotient, stepRemainder;  // of the change of n per row
};

void StartEdges(const QuadTriangle& tri, int32_t y, EdgeWalk walk[4])
{
    int64_t py = int64_t{y} * SUB_PIXELS + SUB_PIXELS / 2;
    for (int e = 0; e < tri.edgeCount; ++e) {
        EdgeWalk& w = walk[e];
        int64_t a = tri.a[e];
        int64_t k = tri.b[e] * py + tri.c[e] + a * (SUB_PIXELS / 2);
        int64_t step = SUB_PIXELS * tri.b[e];
        w.inclusive = tri.inclusive[e];
        if (a == 0) {
            w = {2, 0, 0, tri.inclusive[e], k, 0, 1, step, 0};
            continue;
        }
        // Left: first column ceil(-k / d) = -floor(k / d), or floor(-k / d) + 1 when the edge
        // does not own its pixels. Right: floor(k / d) + 1, or ceil(k / d) = -floor(-k / d).
        bool left = a > 0;
        int64_t d = left ? SUB_PIXELS * a : -SUB_PIXELS * a;
        bool useK = w.inclusive;
        int64_t n = useK ? k : -k, dn = useK ? step : -step;
        w.kind = left ? 0 : 1;
        w.sign = left == w.inclusive ? -1 : 1;
        w.offset = w.sign == 1 ? 1 : 0;
        w.divisor = d;
        w.quotient = FloorDiv(n, d);
        w.remainder = n - w.quotient * d;
        w.stepQuotient = FloorDiv(dn, d);
        w.stepRemainder = dn - w.stepQuotient * d;
    }
}

// The columns [left, right) of the current row inside the polygon, by its edges and
// the top-left rule (false when the row misses it); then moves the edges to the next row.
bool NextSpan(EdgeWalk walk[4], int32_t edges, int32_t width, int32_t& left, int32_t& right)
{
    int64_t lo = 0, hi = width;
    bool inside = true;
    for (int e = 0; e < edges; ++e) {
        EdgeWalk& w = walk[e];
        if (w.kind == 2) {
            inside = inside && (w.quotient > 0 || (w.quotient == 0 && w.inclusive));
            w.quotient += w.stepQuotient;
            continue;
        }
        int64_t bound = w.sign * w.quotient + w.offset;
        if (w.kind == 0)
            lo = std::max(lo, bound);
        else
            hi = std::min(hi, bound);
        w.quotient += w.stepQuotient;
        w.remainder += w.stepRemainder;
        if (w.remainder >= w.divisor) {
            w.remainder -= w.divisor;
            ++w.quotient;
        }
    }
    if (!inside || lo >= hi)
        return false;
    left = static_cast<int32_t>(lo);
    right = static_cast<int32_t>(hi);
    return true;
}

int32_t ToFixed(double value, double low, double high)
{
    return static_cast<int32_t>(std::floor(std::clamp(value, low, high) * FIXED_ONE + 0.5));
}

// One texel coordinate of a span's first pixel and its step, kept within [low, high] (give or
// take two texels) so that stepping in 32 bits cannot overflow.
struct AxisStep {
    int32_t first;
    int32_t delta;
};

inline AxisStep SpanAxis(double start, double step, int32_t count, double low, double high)
{
    int32_t first = ToFixed(start, low, high);
    int32_t last = ToFixed(start + step * (count - 1), low, high);
    int64_t delta =
        static_cast<int64_t>(std::floor(std::clamp(step, -65536.0, 65536.0) * FIXED_ONE + 0.5));
    if (count == 1)
        delta = 0;
    else if (std::llabs(first + delta * (count - 1) - last) > 2 * FIXED_ONE)
        delta = (int64_t{last} - first) / (count - 1);
    return {first, static_cast<int32_t>(delta)};
}

// Texel coordinates of a span's first pixel and their steps. Returned by value, each in a
// register: built in an array, the four were stored one by one and read back as one vector,
// which stalled every span.
struct SpanStart {
    AxisStep s, t;
};

inline SpanStart SpanCoordinates(const QuadSetup& quad, const QuadTriangle& tri, int32_t y,
                                 int32_t x, int32_t count)
{
    double px = x + 0.5, py = y + 0.5;
    return {SpanAxis(tri.s0 + tri.sdx * px + tri.sdy * py, tri.sdx, count, -1.0,
                     quad.texture->width + 1.0),
            SpanAxis(tri.t0 + tri.tdx * px + tri.tdy * py, tri.tdx, count, -1.0,
                     quad.texture->height + 1.0)};
}

struct FixedVertex {
    int64_t x, y;
    double s, t;
};

// Edges, rows and texture planes of a convex polygon of three or four corners in boundary
// order; false when it has no area or no row of the target.
bool SetUpPolygon(QuadTriangle& tri, const FixedVertex* corners, int32_t count, int32_t height)
{
    const FixedVertex &p0 = corners[0], &p1 = corners[1], &p2 = corners[2];
    int64_t area = (p2.y - p0.y) * (p1.x - p0.x) - (p2.x - p0.x) * (p1.y - p0.y);
    if (area == 0)
        return false;
    // Walk the boundary so that the inside is on the positive side of every edge.
    const FixedVertex* p[4];
    for (int32_t i = 0; i < count; ++i)
        p[i] = &corners[area > 0 ? i : (count - i) % count];
    tri.edgeCount = count;
    int64_t top = p0.y, bottom = p0.y;
    for (int32_t e = 0; e < count; ++e) {
        const FixedVertex& from = *p[e];
        const FixedVertex& to = *p[(e + 1) % count];
        tri.a[e] = from.y - to.y;
        tri.b[e] = to.x - from.x;
        tri.c[e] = -(tri.a[e] * from.x + tri.b[e] * from.y);
        tri.inclusive[e] = tri.a[e] > 0 || (tri.a[e] == 0 && tri.b[e] > 0);
        top = std::min(top, from.y), bottom = std::max(bottom, from.y);
    }
    tri.rowBegin =
        static_cast<int32_t>(std::max<int64_t>(0, CeilDiv(top - SUB_PIXELS / 2, SUB_PIXELS)));
    tri.rowEnd = static_cast<int32_t>(
        std::min<int64_t>(height, FloorDiv(bottom - SUB_PIXELS / 2, SUB_PIXELS) + 1));
    if (tri.rowBegin >= tri.rowEnd)
        return false;

    double x0 = p0.x / 256.0, y0 = p0.y / 256.0;
    double x1 = p1.x / 256.0 - x0, y1 = p1.y / 256.0 - y0;
    double x2 = p2.x / 256.0 - x0, y2 = p2.y / 256.0 - y0;
    double det = x1 * y2 - x2 * y1;
    double s1 = p1.s - p0.s, s2 = p2.s - p0.s, t1 = p1.t - p0.t, t2 = p2.t - p0.t;
    tri.sdx = (s1 * y2 - s2 * y1) / det;
    tri.sdy = (s2 * x1 - s1 * x2) / det;
    tri.tdx = (t1 * y2 - t2 * y1) / det;
    tri.tdy = (t2 * x1 - t1 * x2) / det;
    tri.s0 = p0.s - tri.sdx * x0 - tri.sdy * y0;
    tri.t0 = p0.t - tri.tdx * x0 - tri.tdy * y0;
    return true;
}

// The fourth corner completes the parallelogram of the other three, in the texture too: the
// two triangles then have one mapping and every row one span.
bool IsParallelogram(const FixedVertex v[4])
{
    return v[3].x == v[1].x + v[2].x - v[0].x && v[3].y == v[1].y + v[2].y - v[0].y &&
           v[3].s == v[1].s + v[2].s - v[0].s && v[3].t == v[1].t + v[2].t - v[0].t;
}

int32_t ChooseKernel(const QuadSetup& quad)
{
    const Surface& texture = *quad.texture;
    const QuadState& state = quad.state;
    // The bilinear kernel reads texels in neighbouring pairs: a texture needs two columns.
    if (quad.target->format != FORMAT_BGR32 || texture.format != FORMAT_BGR32 ||
        texture.pitch % 4 != 0 || texture.width < 2 || quad.target->pitch % 4 != 0 ||
        quad.textureAlpha || !state.blendEnabled)
        return KERNEL_PLAIN;
    if (state.srcBlend == BLEND_SRCALPHA && state.destBlend == BLEND_INVSRCALPHA)
        return KERNEL_OVER32;
    if (state.srcBlend == BLEND_DESTCOLOR && state.destBlend == BLEND_INVDESTALPHA)
        return KERNEL_MULTIPLY32;
    return KERNEL_PLAIN;
}

bool SetUpVertices(QuadSetup& quad, const TLVertex vertices[4], FixedVertex fixed[4])
{
    double offset = quad.state.filterLinear ? 0.5 : 0.0;
    for (int i = 0; i < 4; ++i) {
        const TLVertex& v = vertices[i];
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.tu) ||
            !std::isfinite(v.tv) || std::fabs(v.x) > VERTEX_LIMIT || std::fabs(v.y) > VERTEX_LIMIT)
            return false;
        fixed[i] = {std::llround(double{v.x} * SUB_PIXELS), std::llround(double{v.y} * SUB_PIXELS),
                    double{v.tu} * quad.texture->width - offset,
                    double{v.tv} * quad.texture->height - offset};
    }
    return true;
}
} // namespace

bool PrepareQuad(QuadSetup& quad, Surface& target, const Surface& texture,
                 const TLVertex vertices[4], const QuadState& state)
{
    if (!KnownFormat(target.format) || target.format == FORMAT_PALETTE ||
        !KnownFormat(texture.format) || texture.format == FORMAT_PALETTE || !target.pixels ||
        !texture.pixels)
        return false;
    if (state.blendEnabled &&
        (!ValidBlendFactor(state.srcBlend, true) || !ValidBlendFactor(state.destBlend, false)))
        return false;
    quad.target = &target;
    quad.texture = &texture;
    quad.state = state;
    quad.alpha = vertices[0].diffuse >> 24;
    quad.textureAlpha = state.alphaModulate && texture.bytesPerPixel == 4;
    quad.key = state.colorKeyEnabled && texture.hasColorKey
                   ? texture.colorKey & FormatColorBits(texture.format)
                   : ~uint32_t{0};
    FixedVertex fixed[4];
    if (!SetUpVertices(quad, vertices, fixed))
        return false;
    quad.triangleCount = 0;
    if (IsParallelogram(fixed)) {
        const FixedVertex boundary[4] = {fixed[0], fixed[1], fixed[3], fixed[2]};
        quad.triangleCount = SetUpPolygon(quad.triangles[0], boundary, 4, target.height) ? 1 : 0;
    } else {
        const FixedVertex first[3] = {fixed[0], fixed[1], fixed[2]};
        const FixedVertex second[3] = {fixed[1], fixed[3], fixed[2]};
        if (SetUpPolygon(quad.triangles[quad.triangleCount], first, 3, target.height))
            ++quad.triangleCount;
        if (SetUpPolygon(quad.triangles[quad.triangleCount], second, 3, target.height))
            ++quad.triangleCount;
    }
    if (quad.triangleCount == 0)
        return false;
    quad.rowBegin = quad.triangles[0].rowBegin;
    quad.rowEnd = quad.triangles[0].rowEnd;
    if (quad.triangleCount == 2) {
        quad.rowBegin = std::min(quad.rowBegin, quad.triangles[1].rowBegin);
        quad.rowEnd = std::max(quad.rowEnd, quad.triangles[1].rowEnd);
    }
    quad.kernel = ChooseKernel(quad);
    return true;
}

void DrawQuadRows(const QuadSetup& quad, int32_t rowBegin, int32_t rowEnd)
{
    for (int32_t i = 0; i < quad.triangleCount; ++i) {
        const QuadTriangle& tri = quad.triangles[i];
        int32_t first = std::max(rowBegin, tri.rowBegin), last = std::min(rowEnd, tri.rowEnd);
        if (first >= last)
            continue;
        EdgeWalk walk[4];
        StartEdges(tri, first, walk);
        for (int32_t y = first; y < last; ++y) {
            int32_t left, right;
            if (!NextSpan(walk, tri.edgeCount, quad.target->width, left, right))
                continue;
            SpanStart at = SpanCoordinates(quad, tri, y, left, right - left);
            DrawSpan(quad, y, left, right - left, at.s.first, at.t.first, at.s.delta, at.t.delta);
        }
    }
}

void DrawQuad(Surface& target, const Surface& texture, const TLVertex vertices[4],
              const QuadState& state)
{
    QuadSetup quad;
    if (PrepareQuad(quad, target, texture, vertices, state))
        DrawQuadRows(quad, quad.rowBegin, quad.rowEnd);
}

bool SetQuadVectorPaths(bool enabled)
{
    return VectorPathsEnabled.exchange(enabled);
}

bool QuadVectorPathsAvailable()
{
    return VectorSpan32Kernel(FETCH_POINT, BLEND_OVER) != nullptr;
}
