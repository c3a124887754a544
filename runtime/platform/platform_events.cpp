// The window event and mouse event queues shared by both backends.
#include "runtime/platform/platform_events.h"
#include "runtime/platform/input_mapping.h"
#include "runtime/platform/platform.h"

namespace {
constexpr int32_t WINDOW_QUEUE = 64;
constexpr int32_t MOUSE_QUEUE = 256;

// A display that opens takes mouse input at once, so that nothing moved before the first poll
// is lost; once the mouse was given back or lost with the focus, input waits for it to be
// acquired again.
constexpr int32_t MOUSE_GIVEN_BACK = 0;
constexpr int32_t MOUSE_ACQUIRED = 1;
constexpr int32_t MOUSE_NOT_YET_ACQUIRED = 2;

struct EventQueues {
    int32_t displayOpen = 0;
    int32_t focused = 0;
    PlatformWindowEvent window[WINDOW_QUEUE];
    int32_t windowFirst = 0;
    int32_t windowCount = 0;
    int32_t mouseMode = MOUSE_GIVEN_BACK;
    PlatformMouseEvent mouse[MOUSE_QUEUE];
    int32_t mouseCount = 0;
    int32_t mouseOverflow = 0;
    // The x and y motion events since the last button or wheel event, or -1: motion adds
    // into them instead of filling the queue.
    int32_t motionX = -1;
    int32_t motionY = -1;
    int32_t buttonsHeld = 0; // bit b - 1: the mouse's own button b is down, as last told
};
EventQueues Queues;

void PushWindowEvent(int32_t kind, int32_t keyCode)
{
    // A full queue forgets its oldest event: the newest focus state is the one that matters.
    if (Queues.windowCount == WINDOW_QUEUE) {
        Queues.windowFirst = (Queues.windowFirst + 1) % WINDOW_QUEUE;
        --Queues.windowCount;
    }
    PlatformWindowEvent& slot =
        Queues.window[(Queues.windowFirst + Queues.windowCount) % WINDOW_QUEUE];
    slot.kind = kind;
    slot.keyCode = keyCode;
    ++Queues.windowCount;
}

void DropMouseEvents()
{
    Queues.mouseCount = 0;
    Queues.mouseOverflow = 0;
    Queues.motionX = Queues.motionY = -1;
}

// Consecutive motion merges into one x and one y event: a fast mouse sends hundreds of motions
// a frame, which would overflow the 24 events a poll takes. The sums are the same modulo 2^32,
// as the poll sums, and motion keeps its order against the buttons and the wheel.
bool MergeMotion(int32_t offset, int32_t value)
{
    int32_t& slot = offset == MOUSE_OFFSET_X ? Queues.motionX : Queues.motionY;
    if (slot < 0)
        return false;
    PlatformMouseEvent& event = Queues.mouse[slot];
    event.value = int32_t(uint32_t(event.value) + uint32_t(value));
    return true;
}
} // namespace

void EventsDisplayOpened()
{
    Queues.displayOpen = 1;
    Queues.focused = 1;
    DropMouseEvents();
    Queues.mouseMode = MOUSE_NOT_YET_ACQUIRED;
    MapReset();
}

void EventsDisplayClosed()
{
    Queues.displayOpen = 0;
    Queues.focused = 0;
    EventsUnacquireMouse();
    MapReset();
}

int32_t EventsDisplayOpen()
{
    return Queues.displayOpen;
}

void EventsFocus(int32_t active)
{
    Queues.focused = active ? 1 : 0;
    PushWindowEvent(active ? WINDOW_FOCUS_GAINED : WINDOW_FOCUS_LOST, 0);
    if (!active) {
        EventsUnacquireMouse();
        MapFocusLost();
    }
}

int32_t EventsFocused()
{
    return Queues.displayOpen && Queues.focused;
}

void EventsKeyReleased(int32_t keyCode)
{
    PushWindowEvent(WINDOW_KEY_RELEASED, keyCode);
}

void EventsCloseRequested()
{
    PushWindowEvent(WINDOW_CLOSE_REQUESTED, 0);
}

void EventsMouse(int32_t offset, int32_t value)
{
    if (!EventsFocused() || Queues.mouseMode == MOUSE_GIVEN_BACK)
        return;
    bool motion = offset == MOUSE_OFFSET_X || offset == MOUSE_OFFSET_Y;
    if (motion && MergeMotion(offset, value))
        return;
    if (Queues.mouseCount == MOUSE_QUEUE) {
        Queues.mouseOverflow = 1;
        return;
    }
    if (motion)
        (offset == MOUSE_OFFSET_X ? Queues.motionX : Queues.motionY) = Queues.mouseCount;
    else
        Queues.motionX = Queues.motionY = -1;
    Queues.mouse[Queues.mouseCount].offset = offset;
    Queues.mouse[Queues.mouseCount].value = value;
    ++Queues.mouseCount;
}

void EventsMouseMotion(int32_t dx, int32_t dy)
{
    if (dx != 0)
        EventsMouse(MOUSE_OFFSET_X, dx);
    if (dy != 0)
        EventsMouse(MOUSE_OFFSET_Y, dy);
}

void EventsMouseButton(int32_t button, int32_t down)
{
    if (button < 1 || button > 4)
        return;
    int32_t bit = 1 << (button - 1);
    Queues.buttonsHeld = down ? Queues.buttonsHeld | bit : Queues.buttonsHeld & ~bit;
    EventsMouse(MouseButtonOffset(button), down ? MOUSE_BUTTON_DOWN : 0);
}

void EventsMouseWheel(int32_t units)
{
    EventsMouse(MOUSE_OFFSET_WHEEL, units);
}

int32_t EventsAcquireMouse()
{
    if (!EventsFocused())
        return 0;
    Queues.mouseMode = MOUSE_ACQUIRED;
    return 1;
}

void EventsUnacquireMouse()
{
    Queues.mouseMode = MOUSE_GIVEN_BACK;
    DropMouseEvents();
}

void EventsQueuedMotion(int32_t& dx, int32_t& dy)
{
    uint32_t sumX = 0, sumY = 0;
    for (int32_t i = 0; i < Queues.mouseCount; ++i) {
        const PlatformMouseEvent& event = Queues.mouse[i];
        if (event.offset == MOUSE_OFFSET_X)
            sumX += uint32_t(event.value);
        else if (event.offset == MOUSE_OFFSET_Y)
            sumY += uint32_t(event.value);
    }
    dx = int32_t(sumX);
    dy = int32_t(sumY);
}

int32_t EventsQueuedButton(int32_t button)
{
    for (int32_t i = Queues.mouseCount - 1; i >= 0; --i)
        if (Queues.mouse[i].offset == MouseButtonOffset(button))
            return Queues.mouse[i].value & MOUSE_BUTTON_DOWN ? 1 : 0;
    return -1;
}

int32_t EventsMouseButtonHeld(int32_t button)
{
    return button >= 1 && button <= 4 && (Queues.buttonsHeld >> (button - 1) & 1) ? 1 : 0;
}

int32_t PlatformNextWindowEvent(PlatformWindowEvent* event)
{
    if (Queues.windowCount == 0)
        return 0;
    *event = Queues.window[Queues.windowFirst];
    Queues.windowFirst = (Queues.windowFirst + 1) % WINDOW_QUEUE;
    --Queues.windowCount;
    return 1;
}

int32_t PlatformReadMouse(PlatformMouseEvent* events, int32_t capacity,
                          const PlatformCursor& cursor)
{
    if (Queues.mouseMode != MOUSE_ACQUIRED)
        return MOUSE_NOT_ACQUIRED;
    MapBeforeRead(cursor);
    if (Queues.mouseOverflow || Queues.mouseCount > capacity) {
        DropMouseEvents();
        return MOUSE_OVERFLOW;
    }
    int32_t count = Queues.mouseCount;
    for (int32_t i = 0; i < count; ++i)
        events[i] = Queues.mouse[i];
    DropMouseEvents();
    return count;
}
