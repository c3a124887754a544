// Sprites: rectangular images in surfaces of the screen's format, made from BMP, PNG or JPEG
// images, from memory or empty, kept in a numbered object table and copied onto the draw
// buffer whole or with their color key. Sprites exist only while a screen is open.
#pragma once
#include "runtime/display/drawing.h"
#include "runtime/display/surface.h"

#include <cstdint>
#include <string_view>

// Sprite modes (bits of the mode argument).
constexpr int32_t SPRITE_SYSTEM_MEMORY = 1; // exactly 1; the same surface here
constexpr int32_t SPRITE_MEMORY = 2;        // no surface: one byte per pixel in plain memory
constexpr int32_t SPRITE_TEXTURE = 4;       // usable as the texture of a 3D sprite
constexpr int32_t SPRITE_ALPHA = 8;         // 32-bit images keep their alpha byte, no key
constexpr int16_t MEMORY_SPRITE_DEPTH = -2;

// The sprite table's element. Pointers are 64 bits wide here, so the table's in-use mark is a
// field of its own rather than the surface pointer.
struct SpriteRecord {
    uint32_t inUse;   // 1 while the sprite exists
    Surface* surface; // none for a memory sprite
    uint8_t* memory;  // a memory sprite's width x height bytes
    int16_t width;    // the displayed part
    int16_t height;
    int16_t depth; // bits per pixel of the source image; -2 for a memory sprite
    uint16_t mode;
    uint8_t* savedPixels; // copy taken when the display was lost: a 32-bit pitch, then rows
    int16_t fullWidth;
    int16_t fullHeight;
    int16_t clipX; // left edge of the displayed part inside the sprite
    int16_t clipY;
};

// The decoders are offered at most this many bytes of an image in memory.
constexpr int64_t SPRITE_IMAGE_BOUND = 10000000;

// Results: for DYNAMIC_OBJECT the new handle, for a number a nonzero value (the address of the
// sprite's surface or pixel block); 0 on failure.
intptr_t LoadSprite(int32_t number, std::string_view fileName, int32_t mode = 0);
// An image in memory: at most SPRITE_IMAGE_BOUND bytes are read, BMP images within the size
// their header gives.
intptr_t LoadSpriteFromMemory(int32_t number, const void* image, int32_t mode = 0);
// The same with the length of the image known: nothing beyond it is read.
intptr_t LoadSpriteFromMemory(int32_t number, const void* image, int64_t length, int32_t mode);
// An empty sprite, filled with color 0 and given the default color key.
intptr_t CreateSprite(int32_t number, int32_t width, int32_t height, int32_t mode = 0);
void FreeSprite(int32_t number);
// The width (height) of the displayed part; 0 for an unknown sprite.
int32_t SpriteWidth(int32_t number);
int32_t SpriteHeight(int32_t number);
// The color key (24-bit RGB) of a sprite, or with -1 of the sprites made from now on.
void SetTransparentColor(int32_t number, int32_t color);
// Copies the sprite onto the draw buffer at (x, y), clipped to it; nothing while the screen
// is inactive. The transparent variant leaves out pixels equal to the color key.
void DisplaySprite(int32_t number, int32_t x, int32_t y);
void DisplayTransparentSprite(int32_t number, int32_t x, int32_t y);
// Lends the sprite's surface to 2D drawing; none while a sprite drawing is lent or for unknown
// and memory sprites.
DrawTarget* SpriteDrawTarget(int32_t number);

// For the 3D sprites and the screen: the record of a sprite, and its surface (none for unknown
// and memory sprites).
const SpriteRecord* FindSprite(int32_t number);
Surface* SpriteSurface(int32_t number);
