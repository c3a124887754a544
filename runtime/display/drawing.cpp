// 2D drawing: the one open drawing, its colors and mode, and the lending of surfaces to it.
#include "runtime/display/drawing.h"

#include "runtime/display/pixel_format.h"
#include "runtime/display/quad_batch.h"

#include <algorithm>

namespace {
const ContextPaint DEFAULT_PEN{0, 0};   // solid black
const ContextPaint DEFAULT_BRUSH{0, 0}; // solid black
const ContextPaint NULL_BRUSH{1, 0};

struct DrawingContext {
    DeviceContext* deviceContext = nullptr; // none when no drawing is open
    uint32_t serial = 0;                    // of deviceContext when it was taken
    DrawTarget target;
    int32_t access = 0;        // 1: the context is current; -1: the surface is locked
    uint8_t* pixels = nullptr; // while locked
    int32_t pitch = 0;
    uint32_t frontColor = 0;
    uint32_t backColor = 0xFFFFFF;
    int32_t mode = 0;
    ContextPaint fillBrush;
    ContextPaint oldPen;
    ContextPaint oldBrush;
};
DrawingContext Drawing;

int64_t Far(int32_t a, int32_t b)
{
    return static_cast<int64_t>(a) + b;
}

void ApplyMode(DeviceContext* context, int32_t mode)
{
    context->invert = (mode & 2) != 0;
    context->brush = (mode & 4) ? NULL_BRUSH : Drawing.fillBrush;
    context->transparentBack = (mode & 1) != 0;
}

const SurfaceDrawing* Holder()
{
    return static_cast<const SurfaceDrawing*>(Drawing.target.owner);
}

// Whether the lender still has the surface locked for this drawing: a flip or a closing
// screen takes it back, and then the pixels may be gone.
bool StillLocked()
{
    return Holder()->held == -1;
}

// Whether a drawing is open and its surface still lent to it. The lender ends the lending
// when the surface goes (a freed sprite, a closed screen) or when it takes it back (a flip);
// the drawing ends with it, before anything of the surface is read.
bool DrawingAlive()
{
    if (!Drawing.deviceContext)
        return false;
    bool alive = Drawing.access == -1 ? StillLocked()
                                      : ContextIsCurrent(Drawing.deviceContext, Drawing.serial);
    if (!alive)
        Drawing.deviceContext = nullptr;
    return alive;
}

// The context of the open drawing, taken again after PlotPixel locked the surface; none when
// no drawing is open or its surface was taken back by its owner. The quads of a 3D scene
// that wait to be drawn are drawn first, so that 2D drawing lands over them.
DeviceContext* CurrentContext()
{
    if (!DrawingAlive())
        return nullptr;
    DrawQuadBatch();
    if (Drawing.access == -1) {
        Drawing.access = 1;
        DeviceContext* context = Drawing.target.getContext(Drawing.target.owner);
        Drawing.deviceContext = context;
        if (!context)
            return nullptr;
        Drawing.serial = context->serial;
        context->textColor = Drawing.frontColor;
        context->backColor = Drawing.backColor;
        if (Drawing.mode)
            ApplyMode(context, Drawing.mode);
        else
            context->brush = Drawing.fillBrush;
        return context;
    }
    return Drawing.deviceContext;
}

// Pen, and brush unless outlines only, in the color while a shape is drawn.
struct ShapePaint {
    ContextPaint pen;
    ContextPaint brush;
};
ShapePaint UseShapeColor(DeviceContext* context, uint32_t color)
{
    ShapePaint saved{context->pen, context->brush};
    if (color != Drawing.frontColor) {
        context->pen = ContextPaint{0, color};
        if (!(Drawing.mode & 4))
            context->brush = ContextPaint{0, color};
    }
    return saved;
}
void RestoreShapePaint(DeviceContext* context, const ShapePaint& saved)
{
    context->pen = saved.pen;
    context->brush = saved.brush;
}

void ReleaseHeld(void* owner)
{
    EndSurfaceDrawing(static_cast<SurfaceDrawing*>(owner));
}

DeviceContext* TakeHeldContext(void* owner)
{
    auto* holder = static_cast<SurfaceDrawing*>(owner);
    if (holder->held == 1)
        return holder->context;
    holder->held = 0;
    holder->context = TakeSurfaceContext(holder->surface);
    if (holder->context)
        holder->held = 1;
    holder->target.deviceContext = holder->context;
    return holder->context;
}

uint8_t* LockHeld(void* owner, int32_t* pitch)
{
    auto* holder = static_cast<SurfaceDrawing*>(owner);
    if (holder->held == 1)
        ReleaseSurfaceContext(holder->context);
    holder->context = nullptr;
    holder->held = -1;
    *pitch = holder->surface->pitch;
    return holder->surface->pixels;
}
} // namespace

DrawTarget* BeginSurfaceDrawing(SurfaceDrawing* holder, Surface* surface, int32_t depth)
{
    if (!holder || !surface || holder->held != 0)
        return nullptr;
    DeviceContext* context = TakeSurfaceContext(surface);
    if (!context)
        return nullptr;
    holder->surface = surface;
    holder->context = context;
    holder->held = 1;
    DrawTarget& target = holder->target;
    target = DrawTarget{};
    target.deviceContext = context;
    target.release = ReleaseHeld;
    target.owner = holder;
    target.width = surface->width;
    target.height = surface->height;
    target.depth = depth;
    target.pixelFormat = surface->format;
    target.getContext = TakeHeldContext;
    target.lock = LockHeld;
    return &target;
}

void EndSurfaceDrawing(SurfaceDrawing* holder)
{
    if (!holder)
        return;
    if (holder->held == 1)
        ReleaseSurfaceContext(holder->context);
    holder->context = nullptr;
    holder->surface = nullptr;
    holder->held = 0;
}

DeviceContext* StartDrawing(const DrawTarget* target)
{
    StopDrawing();
    if (!target || !target->deviceContext)
        return nullptr;
    Drawing.target = *target;
    Drawing.mode = 0;
    Drawing.access = 1;
    DeviceContext* context = target->deviceContext;
    Drawing.deviceContext = context;
    Drawing.serial = context->serial;
    Drawing.oldPen = context->pen;
    Drawing.oldBrush = context->brush;
    context->pen = DEFAULT_PEN;
    context->brush = DEFAULT_BRUSH;
    Drawing.frontColor = 0;
    Drawing.backColor = 0xFFFFFF;
    Drawing.fillBrush = ContextPaint{0, 0};
    context->textColor = 0;
    return context;
}

void StopDrawing()
{
    if (!Drawing.deviceContext)
        return;
    // A context that its owner took back already (a flip ends an open screen drawing) is
    // not released again: the owner may have lent it anew.
    bool current = ContextIsCurrent(Drawing.deviceContext, Drawing.serial);
    if (Drawing.access == 1 && current) {
        Drawing.deviceContext->pen = Drawing.oldPen;
        Drawing.deviceContext->brush = Drawing.oldBrush;
    }
    if ((Drawing.access == -1 && StillLocked()) || current)
        Drawing.target.release(Drawing.target.owner);
    Drawing.deviceContext = nullptr;
    Drawing.pixels = nullptr;
}

void SetDrawingMode(int32_t mode)
{
    DeviceContext* context = CurrentContext();
    if (!context)
        return;
    Drawing.mode = mode;
    ApplyMode(context, mode);
}

int32_t DrawText(int32_t x, int32_t y, const char* text, uint32_t color)
{
    DeviceContext* context = CurrentContext();
    if (!context)
        return 0;
    if (color != Drawing.frontColor)
        context->textColor = color;
    ContextMoveTo(context, x, y, nullptr, nullptr);
    ContextTextOut(context, text);
    context->textColor = Drawing.frontColor;
    int32_t after = 0;
    ContextMoveTo(context, 0, 0, &after, nullptr);
    return after;
}

void DrawBox(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color)
{
    DeviceContext* context = CurrentContext();
    if (!context)
        return;
    if (width == 1 && height == 1) {
        ContextSetPixel(context, x, y, color);
        return;
    }
    ShapePaint saved = UseShapeColor(context, color);
    ContextRectangle(context, x, y, Far(x, width), Far(y, height));
    RestoreShapePaint(context, saved);
}

void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color)
{
    DeviceContext* context = CurrentContext();
    if (!context)
        return;
    uint32_t ink = color == -1 ? Drawing.frontColor : static_cast<uint32_t>(color);
    int32_t oldX = 0, oldY = 0;
    ContextMoveTo(context, x1, y1, &oldX, &oldY);
    ContextPaint pen = context->pen;
    if (ink != Drawing.frontColor)
        context->pen = ContextPaint{0, ink};
    ContextLineTo(context, x2, y2);
    ContextSetPixel(context, x2, y2, ink);
    context->pen = pen;
    ContextMoveTo(context, oldX, oldY, nullptr, nullptr);
}

void DrawEllipse(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, uint32_t color)
{
    DeviceContext* context = CurrentContext();
    if (!context)
        return;
    ShapePaint saved = UseShapeColor(context, color);
    ContextEllipse(context, Far(x, -radiusX), Far(y, -radiusY), Far(x, radiusX), Far(y, radiusY));
    RestoreShapePaint(context, saved);
}

void DrawCircle(int32_t x, int32_t y, int32_t radius, uint32_t color)
{
    if (radius == 1)
        DrawBox(x, y, 2, 2, color);
    else
        DrawEllipse(x, y, radius, radius, color);
}

void PlotPixel(int32_t x, int32_t y, uint32_t color)
{
    if (!DrawingAlive())
        return;
    DrawQuadBatch();
    const DrawTarget& target = Drawing.target;
    const Surface& surface = *Holder()->surface;
    int32_t format = target.pixelFormat;
    bool direct = format == FORMAT_PALETTE || format == FORMAT_555 || format == FORMAT_565 ||
                  format == FORMAT_BGR32;
    if (target.kind != 7 || !direct || format != surface.format) {
        if (DeviceContext* context = CurrentContext())
            ContextSetPixel(context, x, y, color);
        return;
    }
    if (Drawing.access == 1) {
        int32_t pitch = 0;
        uint8_t* pixels = target.lock(target.owner, &pitch);
        if (!pixels)
            return;
        Drawing.pixels = pixels;
        Drawing.pitch = pitch;
        Drawing.access = -1;
    }
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height)
        return;
    int32_t bytes = surface.bytesPerPixel;
    StorePixel(Drawing.pixels + static_cast<intptr_t>(y) * Drawing.pitch + x * bytes, bytes,
               ColorToPixel(format, color));
}
