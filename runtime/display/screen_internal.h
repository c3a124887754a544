// What the display libraries and the tests need of the screen beyond its operations: its
// state as the other libraries see it, and how the sprite and 3D sprite libraries meet it.
#pragma once
#include "runtime/display/screen.h"
#include "runtime/display/surface.h"

#include <cstdint>

// ---- The screen as the display libraries see it ----

// Bits per pixel the open screen was asked for; 0 while closed.
int32_t ScreenModeDepth();
int32_t ScreenModeWidth();
int32_t ScreenModeHeight();
// The surface that clearing, sprite display and drawing go to, and its size (the back buffer's
// unless a sprite is selected); none and 0 x 0 while no screen is open.
Surface* DrawBuffer();
int32_t DrawBufferWidth();
int32_t DrawBufferHeight();
// The back buffer; none while no screen is open.
Surface* BackBuffer();
// 1 while ScreenDrawTarget's surface is held for drawing, -1 while it is locked, else 0.
int32_t ScreenDrawingHeld();

// ---- How the sprite and 3D sprite libraries meet the screen ----

// The sprite library's routines that the screen calls.
struct SpriteLibraryHooks {
    int32_t (*init)() = nullptr;    // InitSprite: default key 0, a new sprite table
    void (*saveAll)() = nullptr;    // the focus-lost handler: copy sprite pixels
    void (*restoreAll)() = nullptr; // after a lost display was restored
    void (*freeAll)() = nullptr;    // the screen closes: every sprite goes
    Surface* (*surfaceOf)(int32_t sprite) = nullptr; // none for unknown and memory sprites
};
// The sprite library's own routines, which the screen calls unless a test put others in their
// place. Constant, so they are there before any code runs.
extern const SpriteLibraryHooks SpriteLibraryRoutines;
// Puts a test's stand-in in the sprite library's place (none: nothing is called) and returns
// 1; the routines it replaced through previous.
int32_t InstallSpriteLibrary(const SpriteLibraryHooks* hooks,
                             const SpriteLibraryHooks** previous = nullptr);
// The routine that releases the 3D device, called first when the screen closes; the 3D sprite
// library sets it when it makes its device, and none when it has released it.
void SetDevice3DRelease(void (*release)());
