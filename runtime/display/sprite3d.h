// 3D sprites: a texture sprite drawn as a quad that can be zoomed to any size, turned about
// its centre in whole degrees and drawn with a global transparency and a blend mode, inside a
// 3D scene on the back buffer. The quads of a scene are drawn by the quad rasterizer, on both
// cores, when the scene ends.
#pragma once
#include "runtime/display/blend_factor.h"
#include "runtime/display/sprite3d_quad.h"

#include <cstdint>

// Creates the 3D sprite table and clears the scene. Nonzero on success; 0 when the screen
// library has not been initialised (InitSprite) or memory runs out.
int32_t InitSprite3D();
// Makes a 3D sprite of a texture sprite (made with mode bit 4), upright at the sprite's size.
// For DYNAMIC_OBJECT the new handle, for a number the record's address; 0 when the sprite is
// unknown or not a texture (a number's old 3D sprite is gone all the same).
intptr_t CreateSprite3D(int32_t number, int32_t sprite);
// Frees the 3D sprite; its texture stays with its sprite. Unknown numbers do nothing.
void FreeSprite3D(int32_t number);
// FreeSprite3D for every 3D sprite (the end of the program).
void FreeAllSprite3D();
// Begins a scene on the back buffer, with blending (5, 6) and the color key on. Nonzero on
// success; 0 without an open screen or while a scene is open.
int32_t Start3D();
// Ends the scene, if one is open: its quads are drawn before this returns.
void Stop3D();
// 0 point sampling, otherwise bilinear; used by every later display.
void Sprite3DQuality(int32_t quality);
// The source and destination blend factors (1..13 and 1..11, the 3D device's numbers) of the
// displays that follow; only while the device exists (after the first Start3D of a screen).
// A factor out of range leaves that factor as it was.
void Sprite3DBlendingMode(int32_t sourceFactor, int32_t destinationFactor);
// Resets the quad to an upright width x height rectangle; the stored angle stays.
void ZoomSprite3D(int32_t number, int32_t width, int32_t height);
// Turns the zoomed quad about its centre: mode 0 by degrees (and stores angle 0), any other
// mode by the stored angle plus degrees (and stores the sum).
void RotateSprite3D(int32_t number, int32_t degrees, int32_t mode);
// Draws the quad with its top-left at (x, y) and alpha transparency (0 invisible, 255 opaque),
// inside a scene; outside a scene, or once its sprite is gone, nothing is drawn.
void DisplaySprite3D(int32_t number, int32_t x, int32_t y, int32_t transparency = 255);

// The record of a 3D sprite, or none (for tests and tools).
const Sprite3DRecord* FindSprite3D(int32_t number);
