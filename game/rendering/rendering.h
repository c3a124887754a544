// Drawing: the world for one pass (the water, the bubbles, the cells with their eyes, the
// player and the light), and the debug overlay over it.
#pragma once
#include "game/data/globals.h"

#include <array>
#include <cstdint>

// World rendering, one pass.
// The back buffer in the color of the water; inside the scene, the clear is drawn with the
// scene's quads, band by band on both cores.
void ClearToWater();
// Begins the 3D scene with ordinary transparency.
void StartWorldScene();
// The background bubbles near the screen, each shifted by 0 or 1 pixel at random.
void DrawBubbles();
// The cell at its image, size, heading and opacity, with its eyes.
void DrawCell(const Cell& cell);
// The player at opacity 196, the light around it, the end of the 3D scene and the darkness.
void DrawPlayerAndLight();

// The debug overlay's values.
// Counts a frame; every 60th measures the frame rate into Fps (the mean rate minus 2).
void CountFrameForRate();
constexpr int32_t OVERLAY_VALUE_COUNT = 12;
// Value line 0 to 11 of the overlay's column: Fps, the player's speed, angle and position,
// the camera and the debug values.
int32_t OverlayValue(int32_t line);
// The text of a value line: the decimal value followed by its label, e.g. "60 FPS".
using OverlayLineText = std::array<char, 32>;
const char* OverlayValueLine(int32_t line, OverlayLineText& text);
// A one-pixel line where a seam of the world (red) or the end of its wrap zone (yellow)
// crosses the screen.
struct SeamMarker {
    int32_t x, y, width, height;
    uint32_t color;
};
// The markers to draw this frame, in drawing order; their count, at most 8.
int32_t SeamMarkers(SeamMarker markers[8]);
// Draws the overlay on the target (the screen's back buffer in the main loop) and counts the
// frame for the frame rate while FpsDisplay is above 0.
void DrawOverlay(const DrawTarget* target);

// The eyes of cell types 3, 6, 13 and 14.
// One eye: radius and angle offset from the cell's heading about its centre, the divisor of
// the size that gives the pupil's reach toward the player, a downward lift of the pupil, the
// pupil image (DotSprites 1 to 6) and a vertical shift of the drawing.
struct EyePlacement {
    float radius;
    float delta;
    float divisor;
    float lift;
    int32_t dot;
    int32_t dy;
};
// The radius of the eyes of type 14 at their last image 0, 1 or 2; 0 before the first.
extern int32_t Type14EyeRadius;
// The eyes of the cell showing the image: their count (0, 1 or 2).
int32_t CellEyes(const Cell& cell, int32_t image, EyePlacement eyes[2]);
struct ScreenPoint {
    int32_t x, y;
};
// Where the pupil of the eye is drawn on the screen; sets eyeAngle.
ScreenPoint PupilPosition(const Cell& cell, const EyePlacement& eye);
