// 2D drawing: text, boxes, lines, circles, ellipses and pixels on the screen's back buffer or a
// sprite, bracketed by StartDrawing and StopDrawing.
#pragma once
#include "runtime/display/device_context.h"
#include "runtime/display/surface.h"

#include <cstdint>

// Describes a surface lent to drawing. The three routines get the owner back.
struct DrawTarget {
    int32_t kind = 7; // 7: a display surface, the only kind there is
    void* window = nullptr;
    DeviceContext* deviceContext = nullptr; // already taken
    // Ends drawing on the surface: releases the context, or unlocks the surface.
    void (*release)(void* owner) = nullptr;
    void* owner = nullptr; // the holder of the surface's drawing
    void* reserved = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0;       // the screen depth
    int32_t pixelFormat = 0; // format code 1..7
    // Unlocks the surface if it is locked and takes its context again; none on failure.
    DeviceContext* (*getContext)(void* owner) = nullptr;
    // Releases the context and locks the surface: its first pixel, and the pitch in *pitch.
    uint8_t* (*lock)(void* owner, int32_t* pitch) = nullptr;
};

// What the screen and the sprite library keep for the one drawing each may lend at a time.
struct SurfaceDrawing {
    Surface* surface = nullptr;
    DeviceContext* context = nullptr;
    int32_t held = 0; // 1: a context is taken, -1: the surface is locked, 0: neither
    DrawTarget target;
};
// Takes the surface's context and describes it; none when the holder already lends a drawing
// or no context can be had.
DrawTarget* BeginSurfaceDrawing(SurfaceDrawing* holder, Surface* surface, int32_t depth);
// The release routine of such a target: ends whatever the holder lends; nothing when nothing.
void EndSurfaceDrawing(SurfaceDrawing* holder);

// Stops any open drawing and starts one on the target (none allowed): the device context,
// or none.
DeviceContext* StartDrawing(const DrawTarget* target);
void StopDrawing();
// Bit 1: text without background; bit 2: shapes invert what lies beneath; bit 4: outlines
// only.
void SetDrawingMode(int32_t mode);
// Text with its top-left at (x, y); the x just after it, or 0 without an open drawing.
int32_t DrawText(int32_t x, int32_t y, const char* text, uint32_t color);
// Columns x..x+width-1, rows y..y+height-1.
void DrawBox(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color);
// Both end points included; -1 draws in the drawing's front color.
void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color = -1);
// Radius 1 is the 2 x 2 square whose top-left is the centre.
void DrawCircle(int32_t x, int32_t y, int32_t radius, uint32_t color);
void DrawEllipse(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, uint32_t color);
// On the formats 1, 2, 3 and 7 the pixel is written straight into the locked surface, which
// stays locked for the plots that follow; elsewhere through the context. Clipped.
void PlotPixel(int32_t x, int32_t y, uint32_t color);
