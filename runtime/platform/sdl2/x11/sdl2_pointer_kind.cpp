// Absolute pointers on X11: the input extension's raw motion names the device that moved, and
// the device tells whether its X and Y axes are absolute (a pen on a tablet, the pointer a
// virtual machine hands its guest) or relative (a mouse, a touchpad). SDL's relative mode
// takes an absolute device's positions for motion, so the backend follows such a device by
// its position instead.
#include "runtime/platform/sdl2/sdl2_display.h"

#include <SDL_syswm.h>
#include <X11/extensions/XInput2.h>

namespace {
constexpr int32_t REMEMBERED = 16;

struct Device {
    int id = 0;
    bool absolute = false;
};

struct PointerKind {
    Display* display = nullptr; // SDL's connection, while watched
    int opcode = 0;             // the input extension's
    int32_t absolute = 0;       // the pointer that moved last was absolute
    Device devices[REMEMBERED]; // what the devices said, newest last
    int32_t remembered = 0;
};
PointerKind Kind;

bool AxesAbsolute(int id)
{
    for (int32_t i = 0; i < Kind.remembered; ++i)
        if (Kind.devices[i].id == id)
            return Kind.devices[i].absolute;
    bool absolute = false;
    int count = 0;
    if (XIDeviceInfo* info = XIQueryDevice(Kind.display, id, &count)) {
        for (int i = 0; i < info->num_classes; ++i) {
            const auto* axis = reinterpret_cast<const XIValuatorClassInfo*>(info->classes[i]);
            if (axis->type == XIValuatorClass && axis->number < 2 && axis->mode == XIModeAbsolute)
                absolute = true;
        }
        XIFreeDeviceInfo(info);
    }
    if (Kind.remembered == REMEMBERED)
        Kind.remembered = 0;
    Kind.devices[Kind.remembered++] = Device{id, absolute};
    return absolute;
}

// Sees every X event as SDL reads it: the raw event's data lives only until SDL has handed
// it to the watches.
int Watch(void*, SDL_Event* event)
{
    if (event->type != SDL_SYSWMEVENT || !event->syswm.msg ||
        event->syswm.msg->subsystem != SDL_SYSWM_X11)
        return 0;
    const XGenericEventCookie& cookie = event->syswm.msg->msg.x11.event.xcookie;
    if (cookie.type != GenericEvent || cookie.extension != Kind.opcode || !cookie.data)
        return 0;
    if (cookie.evtype == XI_HierarchyChanged)
        Kind.remembered = 0;
    if (cookie.evtype != XI_RawMotion)
        return 0;
    // Motion a touch screen makes up for a finger says nothing of the pointer.
    const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
    if (!(raw->flags & XIPointerEmulated))
        Kind.absolute = AxesAbsolute(raw->sourceid) ? 1 : 0;
    return 0;
}
} // namespace

void Sdl2WatchPointerKind(SDL_Window* window)
{
    if (Kind.display)
        return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return;
    int event = 0, error = 0;
    if (!XQueryExtension(info.info.x11.display, "XInputExtension", &Kind.opcode, &event, &error))
        return;
    Kind.display = info.info.x11.display;
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    SDL_AddEventWatch(Watch, nullptr);
}

void Sdl2StopWatchingPointerKind()
{
    if (!Kind.display)
        return;
    SDL_DelEventWatch(Watch, nullptr);
    SDL_EventState(SDL_SYSWMEVENT, SDL_DISABLE);
    Kind = PointerKind{};
}

int32_t Sdl2PointerIsAbsolute()
{
    return Kind.absolute;
}
