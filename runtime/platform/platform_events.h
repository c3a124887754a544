// The queues between a backend and the runtime: window events for the screen's message pump
// and buffered mouse events, with the focus that decides whether input is read at all. Every
// backend feeds them; the platform operations on window events and the mouse read them.
#pragma once
#include <cstdint>

// The display opened (with the focus, as a new full-screen window takes it) or closed.
void EventsDisplayOpened();
void EventsDisplayClosed();
int32_t EventsDisplayOpen();
// The window gained or lost the input focus: queued for the screen, and a loss takes the mouse
// away (its pending events are dropped, reads fail until it is acquired again).
void EventsFocus(int32_t active);
int32_t EventsFocused();
void EventsKeyReleased(int32_t keyCode);
void EventsCloseRequested();
// Buffers one mouse event while the display is open and has the focus, unless the mouse was
// given back (or lost) since the display opened and is not acquired again yet. Motion (offsets
// MOUSE_OFFSET_X and MOUSE_OFFSET_Y) adds into the motion of its axis buffered since the last
// button or wheel event.
void EventsMouse(int32_t offset, int32_t value);
// What the backends deliver, as mouse events: relative motion (an event for each axis that
// moved), button 1 to 4 pressed or let go (other buttons are ignored), and wheel units.
void EventsMouseMotion(int32_t dx, int32_t dy);
void EventsMouseButton(int32_t button, int32_t down);
void EventsMouseWheel(int32_t units);
// 1 when the mouse is acquired now; 0 while no display is open or it lacks the focus.
int32_t EventsAcquireMouse();
void EventsUnacquireMouse();
// What the input mapping (input_mapping.h) needs to know of the queue to aim the cursor and to
// settle the left button: the motion queued for each axis (summed, wrapping), the state of a
// button's last queued event (-1 when none is queued), and whether the mouse's own button is
// held as the backend last told it.
void EventsQueuedMotion(int32_t& dx, int32_t& dy);
int32_t EventsQueuedButton(int32_t button);
int32_t EventsMouseButtonHeld(int32_t button);
