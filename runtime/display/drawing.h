// 2D drawing: text, boxes, lines, circles, ellipses and pixels on the screen's back buffer or a
// sprite, bracketed by StartDrawing and StopDrawing.
#pragma once
#include "runtime/display/device_context.h"
#include "runtime/display/draw_target.h"
#include "runtime/display/surface.h"

#include <cstdint>
#include <string>

// Stops any open drawing and starts one on the target (none allowed): the surface drawn on,
// or none.
Surface* StartDrawing(const DrawTarget* target);
// Hands the surface back through the target's release routine.
void StopDrawing();
// The lender of a surface took it back on its own (a flip ends an open screen drawing, a
// sprite or the screen is freed): a drawing open on that surface ends without its release
// routine, and later drawing calls do nothing.
void EndDrawingOnSurface(const Surface* surface);
// Bit 1: text without background; bit 2: shapes invert what lies beneath; bit 4: outlines
// only.
void SetDrawingMode(int32_t mode);
// Text with its top-left at (x, y); the x just after it, or 0 without an open drawing.
int32_t DrawText(int32_t x, int32_t y, const char* text, uint32_t color);
inline int32_t DrawText(int32_t x, int32_t y, const std::string& text, uint32_t color)
{
    return DrawText(x, y, text.c_str(), color);
}
// Columns x..x+width-1, rows y..y+height-1.
void DrawBox(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color);
// Both end points included; -1 draws in the drawing's front colour.
void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color = -1);
// Radius 1 is the 2 x 2 square whose top-left is the centre.
void DrawCircle(int32_t x, int32_t y, int32_t radius, uint32_t color);
void DrawEllipse(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, uint32_t color);
// On the formats 1, 2, 3 and 7 the pixel is written straight into the locked surface, which
// stays locked for the plots that follow; elsewhere through the context. Clipped.
void PlotPixel(int32_t x, int32_t y, uint32_t color);
