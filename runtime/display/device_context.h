// Device contexts: the drawing layer beneath 2D drawing. A context binds drawing state (current
// position, text colors, background mode, raster operation, pen and brush) to one software
// surface and draws text, rectangles, ellipses, lines and pixels on it, clipped to the surface.
#pragma once
#include "runtime/display/surface.h"

#include <cstdint>

// A pen (outlines) or brush (interiors): a color, or none at all.
struct ContextPaint {
    int32_t none = 0;
    uint32_t color = 0; // 24-bit color, red in the low byte
};

struct DeviceContext {
    Surface* surface = nullptr;
    uint32_t serial = 0; // changes each time the context is taken
    int32_t inUse = 0;
    int32_t positionX = 0; // the current position: lines start and text is written there
    int32_t positionY = 0;
    uint32_t textColor = 0;
    uint32_t backColor = 0xFFFFFF;
    int32_t transparentBack = 0; // text without its background box
    int32_t invert = 0;          // shapes invert the pixels beneath them, whatever their color
    ContextPaint pen;            // defaults: black pen, white brush
    ContextPaint brush{0, 0xFFFFFF};
};

// Takes a context for the surface with the default state; none when every context is taken.
DeviceContext* TakeSurfaceContext(Surface* surface);
void ReleaseSurfaceContext(DeviceContext* context);
// Whether the context is still the one taken with that serial.
bool ContextIsCurrent(const DeviceContext* context, uint32_t serial);

// Moves the current position; the previous one goes to oldX/oldY when given.
void ContextMoveTo(DeviceContext* context, int32_t x, int32_t y, int32_t* oldX, int32_t* oldY);
// A line from the current position to (x, y), which becomes the current position. The end
// point itself is not drawn.
void ContextLineTo(DeviceContext* context, int32_t x, int32_t y);
// Columns left..right-1 and rows top..bottom-1 (corners in any order): outline with the pen,
// interior with the brush.
void ContextRectangle(DeviceContext* context, int64_t left, int64_t top, int64_t right,
                      int64_t bottom);
// The ellipse inscribed in the rectangle, outlined and filled as a rectangle is.
void ContextEllipse(DeviceContext* context, int64_t left, int64_t top, int64_t right,
                    int64_t bottom);
// One pixel in the color, whatever the raster operation.
void ContextSetPixel(DeviceContext* context, int32_t x, int32_t y, uint32_t color);
// The text in the default font at the current position, which moves past it. The cell gets
// the background color unless the background is transparent.
void ContextTextOut(DeviceContext* context, const char* text);
