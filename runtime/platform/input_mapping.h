// Touch, absolute pointers and controllers, turned into the mouse and the keys the game reads.
// The game steers its cell with a relative mouse: the cell turns toward the cursor and swims
// while the left button is held. Every backend hands its fingers, pointers and controllers to
// these operations; at each read of the mouse the mapping queues the motion that brings the
// cursor where it belongs and the left button's presses and releases, and it adds its keys to
// each read of the keyboard. Without such devices it queues and adds nothing.
//
// - A finger puts the cursor under it and holds the left button until it is lifted; with
//   several fingers down, the one put down last steers.
// - An absolute pointer (a pen on a tablet, a virtual machine's pointer) puts the cursor where
//   it points; its buttons are the mouse's own.
// - A controller's left stick puts the cursor near the edge of the screen, in the stick's
//   direction from the middle of the screen, where the cell swims; at rest it leaves the
//   cursor where it is. A trigger or the A button swims (the left button), Start pauses until
//   it is pressed again (P held), Back or Select ends the game (Escape).
//
// Positions are pixels of the logical screen, the one the game draws; positions outside it
// are taken to its nearest edge.
#pragma once
#include "runtime/platform/platform.h"

#include <cstdint>

// A finger touched the screen or moved on it (id tells fingers apart), or was lifted.
void MapFinger(int64_t id, int32_t x, int32_t y);
void MapFingerUp(int64_t id);
// Lifts every finger: the system lost track of them (the page was left, the touch cancelled).
void MapFingersGone();
// An absolute pointer moved there: the cursor follows at the next read.
void MapPointerAt(int32_t x, int32_t y);

// A controller's buttons, as PadState.buttons bits.
constexpr int32_t PAD_SWIM = 1;  // A (the lower face button)
constexpr int32_t PAD_PAUSE = 2; // Start
constexpr int32_t PAD_END = 4;   // Back, Select
constexpr int32_t PADS = 4;      // controllers read at once; more are not read
struct PadState {
    float stickX = 0;  // the left stick, -1 left to 1 right
    float stickY = 0;  // -1 up to 1 down
    float trigger = 0; // the further pressed of the two triggers, 0 to 1
    int32_t buttons = 0;
};
// The state of the controller in a slot 0..PADS-1, after every change; a controller that went
// away is told as a state of all zeros.
void MapPad(int32_t slot, const PadState& state);

// The page's buttons for a finger: pause (pressed once to pause, again to play on, as Start)
// and end (Escape, held while down).
void MapTogglePause();
int32_t MapPaused();
void MapEndKey(int32_t down);

// For the shared queue: queues what aims the cursor and settles the left button, just before
// the mouse's reader takes the events (only while the mouse is acquired).
void MapBeforeRead(const PlatformCursor& cursor);
// For every backend's key read: adds the keys the devices hold (0x80), after the keyboard's.
// A key pressed and let go since the last read reads as down once.
void MapKeys(uint8_t keys[256]);
// The focus went away: fingers and the end key are let go, as the keyboard's keys are.
void MapFocusLost();
// A screen opened or closed: nothing of the last one is held (a button pressed for it is let go
// at the next read), and the game is not paused.
void MapReset();
