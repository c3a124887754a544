// The mapping of fingers, absolute pointers and controllers to the mouse and the keys.
#include "runtime/platform/input_mapping.h"
#include "runtime/platform/key_codes.h"
#include "runtime/platform/platform_events.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t FINGERS = 10;
// A stick counts as pushed beyond this part of its travel: only then is its direction clear.
constexpr float STICK_DEAD_ZONE = 0.3f;
constexpr float TRIGGER_PRESSED = 0.3f;
// Pixels the stick's aim keeps from the screen's edge, so that the cursor stays in sight.
constexpr float STICK_EDGE_MARGIN = 8.0f;

struct Finger {
    int64_t id = 0;
    int32_t x = 0;
    int32_t y = 0;
    uint32_t order = 0; // when it was put down; 0: the slot is free
};

struct Pad {
    PadState state;
    uint32_t pushedOrder = 0; // when its stick left the rest; 0 while at rest
};

struct InputMapping {
    Finger fingers[FINGERS];
    Pad pads[PADS];
    uint32_t order = 0; // counts the fingers put down and the sticks pushed
    int32_t pointerMoved = 0;
    int32_t pointerX = 0;
    int32_t pointerY = 0;
    int32_t ownsButton = 0; // the left button was pressed here; the reader must hear it let go
    int32_t paused = 0;
    int32_t endKey = 0;    // the page's end button is held
    int32_t endTapped = 0; // an end was pressed since the last key read
};
InputMapping Map;

bool StickPushed(const PadState& state)
{
    return std::hypot(state.stickX, state.stickY) >= STICK_DEAD_ZONE;
}

bool PadSwims(const PadState& state)
{
    return (state.buttons & PAD_SWIM) || state.trigger >= TRIGGER_PRESSED;
}

const Finger* SteeringFinger()
{
    const Finger* steering = nullptr;
    for (const Finger& finger : Map.fingers)
        if (finger.order && (!steering || finger.order > steering->order))
            steering = &finger;
    return steering;
}

const Pad* AimingPad()
{
    const Pad* aiming = nullptr;
    for (const Pad& pad : Map.pads)
        if (pad.pushedOrder && (!aiming || pad.pushedOrder > aiming->pushedOrder))
            aiming = &pad;
    return aiming;
}

// Where the stick points the cursor: from the middle of the screen, along the stick's
// direction, to the margin before the nearest edge. Only the direction counts, so that a
// half-pushed stick turns the cell as surely as a full one.
void StickAim(const PadState& state, const PlatformCursor& cursor, int32_t& x, int32_t& y)
{
    float length = std::hypot(state.stickX, state.stickY);
    float dx = state.stickX / length, dy = state.stickY / length;
    float halfWidth = cursor.width / 2.0f, halfHeight = cursor.height / 2.0f;
    float reachX = std::max(halfWidth - STICK_EDGE_MARGIN, 0.0f);
    float reachY = std::max(halfHeight - STICK_EDGE_MARGIN, 0.0f);
    float reach = std::min(dx != 0 ? reachX / std::fabs(dx) : reachX + reachY,
                           dy != 0 ? reachY / std::fabs(dy) : reachX + reachY);
    x = int32_t(std::lround(halfWidth + dx * reach));
    y = int32_t(std::lround(halfHeight + dy * reach));
}

// Where the cursor belongs now, if a device says so: the steering finger, else the stick
// pushed last, else where an absolute pointer moved to.
bool Aim(const PlatformCursor& cursor, int32_t& x, int32_t& y)
{
    bool pointerMoved = Map.pointerMoved;
    Map.pointerMoved = 0;
    if (const Finger* finger = SteeringFinger()) {
        x = finger->x;
        y = finger->y;
    } else if (const Pad* pad = AimingPad()) {
        StickAim(pad->state, cursor, x, y);
    } else if (pointerMoved) {
        x = Map.pointerX;
        y = Map.pointerY;
    } else {
        return false;
    }
    x = std::clamp(x, 0, std::max(cursor.width - 1, 0));
    y = std::clamp(y, 0, std::max(cursor.height - 1, 0));
    return true;
}

// Motion that, added to what is queued, takes the reader's cursor exactly to x, y: the reader
// sums the poll's motion before it keeps the cursor inside the screen.
void MoveCursorTo(const PlatformCursor& cursor, int32_t x, int32_t y)
{
    int32_t queuedX = 0, queuedY = 0;
    EventsQueuedMotion(queuedX, queuedY);
    uint32_t dx = uint32_t(x) - uint32_t(cursor.x) - uint32_t(queuedX);
    uint32_t dy = uint32_t(y) - uint32_t(cursor.y) - uint32_t(queuedY);
    EventsMouseMotion(int32_t(dx), int32_t(dy));
}

// Holds the left button down while a finger or a controller swims; when they stop, gives it
// back to the mouse's own button. The reader's state, or the last queued event, says whether
// a press or release is owed: one that was dropped with the queue is queued again.
void SettleLeftButton(const PlatformCursor& cursor)
{
    bool held = SteeringFinger() != nullptr;
    for (const Pad& pad : Map.pads)
        held = held || PadSwims(pad.state);
    int32_t queued = EventsQueuedButton(1);
    int32_t down = queued >= 0 ? queued : (cursor.leftButton ? 1 : 0);
    if (held) {
        Map.ownsButton = 1;
        if (!down)
            EventsMouse(MouseButtonOffset(1), MOUSE_BUTTON_DOWN);
        return;
    }
    if (!Map.ownsButton)
        return;
    Map.ownsButton = 0;
    int32_t mouseDown = EventsMouseButtonHeld(1);
    if (down != mouseDown)
        EventsMouse(MouseButtonOffset(1), mouseDown ? MOUSE_BUTTON_DOWN : 0);
}
} // namespace

void MapFinger(int64_t id, int32_t x, int32_t y)
{
    Finger* free = nullptr;
    for (Finger& finger : Map.fingers) {
        if (finger.order && finger.id == id) {
            finger.x = x;
            finger.y = y;
            return;
        }
        if (!finger.order && !free)
            free = &finger;
    }
    if (free)
        *free = Finger{id, x, y, ++Map.order};
}

void MapFingerUp(int64_t id)
{
    for (Finger& finger : Map.fingers)
        if (finger.order && finger.id == id)
            finger = Finger{};
}

void MapFingersGone()
{
    for (Finger& finger : Map.fingers)
        finger = Finger{};
}

void MapPointerAt(int32_t x, int32_t y)
{
    Map.pointerMoved = 1;
    Map.pointerX = x;
    Map.pointerY = y;
}

void MapPad(int32_t slot, const PadState& state)
{
    if (slot < 0 || slot >= PADS)
        return;
    Pad& pad = Map.pads[slot];
    int32_t pressed = state.buttons & ~pad.state.buttons;
    if (pressed & PAD_PAUSE)
        MapTogglePause();
    if (pressed & PAD_END)
        Map.endTapped = 1;
    if (!StickPushed(state))
        pad.pushedOrder = 0;
    else if (!pad.pushedOrder)
        pad.pushedOrder = ++Map.order;
    pad.state = state;
}

void MapTogglePause()
{
    Map.paused = !Map.paused;
}

int32_t MapPaused()
{
    return Map.paused;
}

void MapEndKey(int32_t down)
{
    Map.endKey = down ? 1 : 0;
    if (down)
        Map.endTapped = 1;
}

void MapBeforeRead(const PlatformCursor& cursor)
{
    int32_t x = 0, y = 0;
    if (Aim(cursor, x, y))
        MoveCursorTo(cursor, x, y);
    SettleLeftButton(cursor);
}

void MapKeys(uint8_t keys[256])
{
    bool end = Map.endKey || Map.endTapped;
    for (const Pad& pad : Map.pads)
        end = end || (pad.state.buttons & PAD_END);
    Map.endTapped = 0;
    if (end)
        keys[KEY_ESCAPE] = 0x80;
    if (Map.paused)
        keys[KEY_P] = 0x80;
}

void MapFocusLost()
{
    MapFingersGone();
    Map.endKey = Map.endTapped = 0;
}

void MapReset()
{
    MapFocusLost();
    Map.pointerMoved = 0;
    Map.paused = 0;
}
