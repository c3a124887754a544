// Zoom, rotation and placement of a 3D sprite's quad.
#include "runtime/display/sprite3d_quad.h"

#include <cmath>

namespace {
// Whole pixels toward zero, as the corners are stored.
float Truncated(float value)
{
    return std::trunc(value);
}
} // namespace

void SetUprightCorners(Sprite3DRecord& record, int32_t width, int32_t height)
{
    for (int i = 0; i < 4; ++i) {
        float right = static_cast<float>(i & 1), bottom = static_cast<float>(i >> 1);
        record.vertices[i] = {right * static_cast<float>(width),
                              bottom * static_cast<float>(height),
                              0.0f,
                              1.0f,
                              0xFFFFFFFF,
                              0,
                              right,
                              bottom};
    }
}

void RotateCorners(Sprite3DRecord& record, int32_t degrees, int32_t mode)
{
    int32_t u = record.zoomWidth / 2, v = record.zoomHeight / 2;
    int32_t rotation = degrees;
    if (mode != 0) {
        record.angle = static_cast<int16_t>(record.angle + degrees);
        rotation = record.angle;
    } else {
        record.angle = 0;
    }
    // The quarter turn is 1.57068 and a degree 0.017452, not pi/2 and pi/180: rotated corners
    // land on the pixels the game's images were made for, including a corner one pixel short
    // when nothing is turned.
    float phi = static_cast<float>(rotation % 360 - 90) * 0.017452f + 1.57068f;
    float c = static_cast<float>(std::cos(static_cast<double>(phi)));
    float s = static_cast<float>(std::sin(static_cast<double>(phi)));
    const int32_t offsets[4][2] = {{-u, -v}, {u, -v}, {-u, v}, {u, v}};
    for (int i = 0; i < 4; ++i) {
        float dx = static_cast<float>(offsets[i][0]), dy = static_cast<float>(offsets[i][1]);
        record.vertices[i].x = Truncated(static_cast<float>(u) + dx * c - dy * s);
        record.vertices[i].y = Truncated(static_cast<float>(v) + dx * s + dy * c);
    }
}

void PlaceCorners(const Sprite3DRecord& record, int32_t x, int32_t y, int32_t transparency,
                  TLVertex out[4])
{
    uint32_t mask = (static_cast<uint32_t>(transparency) << 24) + 0xFFFFFF;
    for (int i = 0; i < 4; ++i) {
        out[i] = record.vertices[i];
        out[i].x += static_cast<float>(x);
        out[i].y += static_cast<float>(y);
        out[i].diffuse &= mask;
    }
}
