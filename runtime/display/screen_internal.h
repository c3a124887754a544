// What the display libraries and the tests need of the screen beyond its operations: how the
// sprite and 3D sprite libraries meet it.
#pragma once
#include "runtime/display/screen.h"

#include <cstdint>

// ---- How the sprite and 3D sprite libraries meet the screen ----

// The sprite library's routines that the screen calls.
struct SpriteLibraryHooks {
    int32_t (*init)() = nullptr;             // InitSprite: default key 0, a new sprite table
    void (*saveAll)() = nullptr;             // the focus-lost handler: copy sprite pixels
    void (*restoreAll)() = nullptr;          // after a lost display was restored
    void (*freeAll)() = nullptr;             // the screen closes: every sprite goes
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
