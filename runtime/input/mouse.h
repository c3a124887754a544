// The mouse: relative motion summed into a position kept inside the screen, per-poll motion
// and wheel, and three buttons, read once per frame by PollMouse.
#pragma once
#include <cstdint>

// Makes the mouse device. 1 on success, 0 when there is no input system.
int32_t InitMouse();
// Reads the events since the last poll: 1, or 0 when none could be read (screen inactive,
// mouse given back, device just re-acquired, or more than 24 events pending: then the left and
// right buttons are cleared and nothing moves). The per-poll motion and wheel are 0 after a 0.
int32_t PollMouse();
int32_t MouseX();
int32_t MouseY();
int32_t MouseDeltaX();
int32_t MouseDeltaY();
// Wheel notches of the last poll, toward zero.
int32_t MouseWheel();
// 1 while button 1 (left), 2 (right) or 3 (middle) is down; 0 for other numbers.
int32_t MouseButton(int32_t button);
// Sets the position; the next successful poll clamps it into the screen.
void SetMousePosition(int32_t x, int32_t y);
// 1 gives the mouse back to the system until ReleaseMouse with any other value.
void ReleaseMouse(int32_t release);
// Releases the device.
void ReleaseMouseDevice();
