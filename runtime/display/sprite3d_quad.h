// The quad geometry of 3D sprites: the record, its upright and rotated corners, and the
// vertices of one display. Plain logic; the 3D sprite operations and the benchmark use it.
#pragma once
#include "runtime/display/quad_rasterizer.h"

#include <cstdint>
#include <type_traits>

struct Sprite3DRecord {
    // 1 while the record holds a quad. The table tests a record's first 32 bits, which the low
    // half of a 64-bit pointer cannot be trusted to fill, so the texture comes second.
    int32_t used;
    Surface* texture;     // the source sprite's surface; the 3D sprite does not own it
    TLVertex vertices[4]; // triangle-strip order: top-left, top-right, bottom-left, bottom-right
    int16_t zoomWidth;
    int16_t zoomHeight;
    int16_t angle;  // stored rotation in degrees
    uint16_t mode;  // the source sprite's mode flags
    int32_t sprite; // the source sprite's number or handle, to find out whether it still lives
};
static_assert(std::is_trivially_copyable_v<Sprite3DRecord>);

// Sets the corners to the upright width x height rectangle (0, 0), (w, 0), (0, h), (w, h) with
// the initial vertex values: depth 0, rhw 1, opaque white, texture corners 0 and 1.
void SetUprightCorners(Sprite3DRecord& record, int32_t width, int32_t height);
// Turns the upright zoomed rectangle about its centre: mode 0 by degrees (storing angle 0),
// any other mode by the stored angle plus degrees (storing the sum). Corners are truncated to
// whole pixels.
void RotateCorners(Sprite3DRecord& record, int32_t degrees, int32_t mode);
// The vertices of one display: the corners moved by (x, y) and given the alpha transparency.
void PlaceCorners(const Sprite3DRecord& record, int32_t x, int32_t y, int32_t transparency,
                  TLVertex out[4]);
