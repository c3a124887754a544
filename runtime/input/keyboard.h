// The keyboard: a snapshot of all 256 keys, indexed by DirectInput key code (1 Escape, 25 P,
// 31 S, ...), taken once per PollKeyboard.
#pragma once
// The names of the key codes (KEY_ESCAPE, ...) come with the keyboard's operations; the
// platform's backends use the same names.
#include "runtime/platform/key_codes.h"

#include <cstdint>

// Makes the keyboard device (also when it exists already: then nothing more). Nonzero on
// success, 0 when there is no input system.
int32_t InitKeyboard();
// Reads all keys: 1, or 0 when they cannot be read (the window lacks the focus, or no device);
// the previous snapshot stays then, but KeyDown answers 0 until a read succeeds again.
int32_t PollKeyboard();
// 128 while the key was down at the last poll, else 0; -1 asks for any key 0..254 (1 or 0).
int32_t KeyDown(int32_t code);
// Releases the device.
void ReleaseKeyboard();
