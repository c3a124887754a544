// Device contexts on software surfaces: state, shapes, lines, pixels and text, all clipped.
#include "runtime/display/device_context.h"

#include "runtime/display/default_font.h"

#include <algorithm>
#include <cmath>

namespace {
// The screen and one sprite may hold a context at the same time; a few spare ones cost
// nothing and no context is ever allocated while the game runs.
constexpr int32_t CONTEXT_COUNT = 4;

struct ContextPool {
    DeviceContext contexts[CONTEXT_COUNT];
    uint32_t nextSerial = 1;
};
ContextPool Pool;

// Columns x0..x1 of row y in a pixel value, or inverted; clipped to the surface.
void PaintSpan(const Surface& surface, int64_t y, int64_t x0, int64_t x1, uint32_t pixel,
               int32_t invert)
{
    if (y < 0 || y >= surface.height)
        return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, surface.width - 1);
    int32_t bytes = surface.bytesPerPixel;
    uint32_t mask = FormatColorBits(surface.format);
    for (int64_t x = x0; x <= x1; ++x) {
        uint8_t* at = PixelAddress(surface, static_cast<int32_t>(x), static_cast<int32_t>(y));
        StorePixel(at, bytes, invert ? LoadPixel(at, bytes) ^ mask : pixel);
    }
}

// Paints part of a shape: the pen's color on outline pixels, the brush's inside.
void PaintWith(const DeviceContext* context, const ContextPaint& paint, int64_t y, int64_t x0,
               int64_t x1)
{
    if (paint.none || x1 < x0)
        return;
    const Surface& surface = *context->surface;
    PaintSpan(surface, y, x0, x1, ColorToPixel(surface.format, paint.color), context->invert);
}

void PlotClipped(const DeviceContext* context, int64_t x, int64_t y)
{
    PaintWith(context, context->pen, y, x, x);
}

// Orders the corners; false when nothing is inside.
bool NormalRectangle(int64_t& left, int64_t& top, int64_t& right, int64_t& bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    return right > left && bottom > top;
}

// Orders the corners and gives the rows of the shape on the surface (none: last < first).
void ShapeRows(const DeviceContext* context, int64_t& left, int64_t& top, int64_t& right,
               int64_t& bottom, int64_t* firstRow, int64_t* lastRow)
{
    if (!NormalRectangle(left, top, right, bottom))
        return;
    *firstRow = std::max<int64_t>(top, 0);
    *lastRow = std::min<int64_t>(bottom - 1, context->surface->height - 1);
}

struct Span {
    int64_t first; // first covered column
    int64_t last;  // last covered column; last < first for an empty row
};

// The columns of row y inside the ellipse inscribed in the rectangle: pixels whose centres
// lie inside it.
Span EllipseSpan(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t y)
{
    if (y < top || y >= bottom)
        return {0, -1};
    double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
    double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    double dy = (y + 0.5 - cy) / ry;
    double half = rx * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    return {static_cast<int64_t>(std::ceil(cx - half - 0.5)),
            static_cast<int64_t>(std::floor(cx + half - 0.5))};
}
} // namespace

DeviceContext* TakeSurfaceContext(Surface* surface)
{
    if (!surface)
        return nullptr;
    for (DeviceContext& context : Pool.contexts)
        if (!context.inUse) {
            context = DeviceContext{};
            context.surface = surface;
            context.inUse = 1;
            context.serial = Pool.nextSerial++;
            return &context;
        }
    return nullptr;
}

void ReleaseSurfaceContext(DeviceContext* context)
{
    if (context)
        context->inUse = 0;
}

bool ContextIsCurrent(const DeviceContext* context, uint32_t serial)
{
    return context && context->inUse && context->serial == serial;
}

void ContextMoveTo(DeviceContext* context, int32_t x, int32_t y, int32_t* oldX, int32_t* oldY)
{
    if (oldX)
        *oldX = context->positionX;
    if (oldY)
        *oldY = context->positionY;
    context->positionX = x;
    context->positionY = y;
}

// Steps along the longer axis; the other coordinate is the nearest pixel to the exact line
// (halves rounded up), so the line is the same whichever pixels clipping skips. Only the
// steps that fall inside the surface along the longer axis are visited.
void ContextLineTo(DeviceContext* context, int32_t x, int32_t y)
{
    int64_t x0 = context->positionX, y0 = context->positionY;
    context->positionX = x;
    context->positionY = y;
    int64_t dx = x - x0, dy = y - y0;
    bool alongX = std::llabs(dx) >= std::llabs(dy);
    int64_t steps = alongX ? std::llabs(dx) : std::llabs(dy);
    if (steps == 0)
        return;
    int64_t major0 = alongX ? x0 : y0, minor0 = alongX ? y0 : x0;
    int64_t majorStep = (alongX ? dx : dy) > 0 ? 1 : -1;
    int64_t minorDelta = alongX ? dy : dx;
    int64_t size = alongX ? context->surface->width : context->surface->height;
    // Steps t with 0 <= major0 + t * majorStep < size.
    int64_t from = majorStep > 0 ? -major0 : major0 - (size - 1);
    int64_t to = majorStep > 0 ? size - 1 - major0 : major0;
    from = std::max<int64_t>(from, 0);
    to = std::min<int64_t>(to, steps - 1);
    for (int64_t t = from; t <= to; ++t) {
        int64_t numerator = 2 * t * minorDelta + steps;
        int64_t offset = numerator >= 0 ? numerator / (2 * steps)
                                        : -((-numerator + 2 * steps - 1) / (2 * steps));
        int64_t major = major0 + t * majorStep, minor = minor0 + offset;
        if (alongX)
            PlotClipped(context, major, minor);
        else
            PlotClipped(context, minor, major);
    }
}

void ContextRectangle(DeviceContext* context, int64_t left, int64_t top, int64_t right,
                      int64_t bottom)
{
    int64_t firstRow = 0, lastRow = -1;
    ShapeRows(context, left, top, right, bottom, &firstRow, &lastRow);
    for (int64_t y = firstRow; y <= lastRow; ++y) {
        if (y == top || y == bottom - 1) {
            PaintWith(context, context->pen, y, left, right - 1);
            continue;
        }
        PaintWith(context, context->pen, y, left, left);
        PaintWith(context, context->brush, y, left + 1, right - 2);
        if (right - 1 > left)
            PaintWith(context, context->pen, y, right - 1, right - 1);
    }
}

// Outline pixels are those of a row that the rows above and below do not both cover.
void ContextEllipse(DeviceContext* context, int64_t left, int64_t top, int64_t right,
                    int64_t bottom)
{
    int64_t firstRow = 0, lastRow = -1;
    ShapeRows(context, left, top, right, bottom, &firstRow, &lastRow);
    for (int64_t y = firstRow; y <= lastRow; ++y) {
        Span row = EllipseSpan(left, top, right, bottom, y);
        if (row.last < row.first)
            continue;
        Span above = EllipseSpan(left, top, right, bottom, y - 1);
        Span below = EllipseSpan(left, top, right, bottom, y + 1);
        int64_t innerFirst = std::max({row.first + 1, above.first, below.first});
        int64_t innerLast = std::min({row.last - 1, above.last, below.last});
        if (above.last < above.first || below.last < below.first || innerLast < innerFirst) {
            PaintWith(context, context->pen, y, row.first, row.last);
            continue;
        }
        PaintWith(context, context->pen, y, row.first, innerFirst - 1);
        PaintWith(context, context->brush, y, innerFirst, innerLast);
        PaintWith(context, context->pen, y, innerLast + 1, row.last);
    }
}

void ContextSetPixel(DeviceContext* context, int32_t x, int32_t y, uint32_t color)
{
    const Surface& surface = *context->surface;
    PaintSpan(surface, y, x, x, ColorToPixel(surface.format, color), 0);
}

void ContextTextOut(DeviceContext* context, const char* text)
{
    if (!text || !*text || !LoadDefaultFont())
        return;
    const Surface& surface = *context->surface;
    int64_t x = context->positionX, y = context->positionY;
    int64_t width = DefaultFontTextWidth(text);
    if (!context->transparentBack) {
        uint32_t back = ColorToPixel(surface.format, context->backColor);
        for (int64_t row = 0; row < DefaultFontHeight(); ++row)
            PaintSpan(surface, y + row, x, x + width - 1, back, 0);
    }
    uint32_t ink = ColorToPixel(surface.format, context->textColor);
    for (const char* c = text; *c; ++c) {
        const FontGlyph& glyph = DefaultFontGlyph(static_cast<uint8_t>(*c));
        for (int32_t gy = 0; gy < glyph.rows; ++gy)
            for (int32_t gx = 0; gx < glyph.width; ++gx)
                if (glyph.bits[gy * glyph.width + gx])
                    PaintSpan(surface, y + glyph.top + gy, x + glyph.left + gx, x + glyph.left + gx,
                              ink, 0);
        x += glyph.advance;
    }
    context->positionX = static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
}
