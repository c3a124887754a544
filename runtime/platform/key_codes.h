// The mapping from SDL scancodes (USB HID usage numbers) to the DirectInput key codes that the
// keyboard table is indexed by. Plain data, so that it can be checked without SDL.
#pragma once
#include <cstdint>

// DirectInput key codes of the keys that the game, the runtime and the backends look at.
constexpr int32_t KEY_ESCAPE = 0x01;
constexpr int32_t KEY_TAB = 0x0F;
constexpr int32_t KEY_P = 0x19;
constexpr int32_t KEY_S = 0x1F;
constexpr int32_t KEY_LEFT_ALT = 0x38;
constexpr int32_t KEY_RIGHT_ALT = 0xB8;

// The DirectInput key code of an SDL scancode; 0 for scancodes without one (and for values
// outside 0..511).
int32_t KeyCodeFromScancode(int32_t scancode);
