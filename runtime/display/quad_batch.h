// The quads of a scene, prepared as they come and drawn together when the scene ends, by the
// calling thread and a persistent helper thread. The target is cut into bands of rows; each
// thread claims whole bands and draws in each every quad that touches it, in the order the
// quads came. Bands never share a row, so the picture is exactly the one-thread picture, and
// the threads meet once per batch, not once per quad.
#pragma once
#include "runtime/display/quad_rasterizer.h"

// Starts the helper thread unless it runs; false when no thread can be made, and batches are
// then drawn by the caller alone. Made once and kept: nothing is allocated per quad or frame.
bool StartQuadHelper();
// Stops and joins the helper thread (drawing a pending batch first).
void StopQuadHelper();
// Adds a quad to the batch; false when it cannot be drawn (see PrepareQuad). The quad's
// target and texture must stay until the batch is drawn. A full batch is drawn first; when no
// batch storage can be had the quad is drawn at once.
bool AddQuad(Surface& target, const Surface& texture, const TLVertex vertices[4],
             const QuadState& state);
// Whether a 3D scene collects quads now (Start3D to Stop3D). Only then may fills wait.
void SetQuadSceneOpen(bool open);
// Adds a fill of the whole target with a pixel value (as FillSurface) to the batch of an open
// scene, drawn band by band in its place among the quads, so that each band of rows is filled
// just before its quads land on it, by the thread that draws them. False when no scene is open
// or no storage can be had: the caller then fills at once.
bool AddFill(Surface& target, uint32_t value);
// Draws every quad of the batch and empties it; returns when every pixel is drawn. Whatever
// is about to change or free a surface that waiting quads read or write calls this first, so
// the picture is that of each quad drawn at its call.
void DrawQuadBatch();
// Forgets the waiting quads without drawing them (their target is about to go).
void DropQuadBatch();
// The number of quads and fills waiting in the batch.
int32_t PendingQuads();
