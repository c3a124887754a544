// Game controllers through SDL's game controller API: each one is opened when it comes (those
// already plugged in come at the start too) and closed when it goes, and its state, kept from
// its events, goes to the input mapping after every change.
#include "runtime/platform/input_mapping.h"
#include "runtime/platform/sdl2/sdl2_display.h"

#include <SDL.h>
#include <algorithm>

namespace {
struct Controller {
    SDL_GameController* handle = nullptr;
    SDL_JoystickID id = -1;
    PadState state;
    float leftTrigger = 0;
    float rightTrigger = 0;
};

struct Sdl2Controllers {
    int32_t open = 0; // the game controller subsystem is started
    Controller slots[PADS];
};
Sdl2Controllers Controllers;

Controller* ControllerOf(SDL_JoystickID id)
{
    for (Controller& controller : Controllers.slots)
        if (controller.handle && controller.id == id)
            return &controller;
    return nullptr;
}

int32_t SlotOf(const Controller& controller)
{
    return int32_t(&controller - Controllers.slots);
}

// Controllers beyond the slots the mapping tells apart are not read.
void Add(int32_t deviceIndex)
{
    Controller* free = nullptr;
    for (Controller& controller : Controllers.slots)
        if (!controller.handle) {
            free = &controller;
            break;
        }
    if (!free)
        return;
    SDL_GameController* handle = SDL_GameControllerOpen(deviceIndex);
    if (!handle)
        return;
    SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(handle));
    if (ControllerOf(id)) {
        // Already open: the start announces those plugged in, which may have been seen.
        SDL_GameControllerClose(handle);
        return;
    }
    *free = Controller{handle, id, PadState{}, 0, 0};
}

void Remove(SDL_JoystickID id)
{
    Controller* controller = ControllerOf(id);
    if (!controller)
        return;
    SDL_GameControllerClose(controller->handle);
    int32_t slot = SlotOf(*controller);
    *controller = Controller{};
    MapPad(slot, PadState{});
}

float AxisValue(int16_t value)
{
    return std::clamp(value / 32767.0f, -1.0f, 1.0f);
}

void Axis(Controller& controller, uint8_t axis, int16_t value)
{
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        controller.state.stickX = AxisValue(value);
        break;
    case SDL_CONTROLLER_AXIS_LEFTY:
        controller.state.stickY = AxisValue(value);
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
        controller.leftTrigger = AxisValue(value);
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
        controller.rightTrigger = AxisValue(value);
        break;
    default:
        return;
    }
    controller.state.trigger = std::max(controller.leftTrigger, controller.rightTrigger);
}

void Button(Controller& controller, uint8_t button, bool down)
{
    int32_t bit = 0;
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        bit = PAD_SWIM;
        break;
    case SDL_CONTROLLER_BUTTON_START:
        bit = PAD_PAUSE;
        break;
    case SDL_CONTROLLER_BUTTON_BACK:
        bit = PAD_END;
        break;
    default:
        return;
    }
    controller.state.buttons =
        down ? controller.state.buttons | bit : controller.state.buttons & ~bit;
}
} // namespace

void Sdl2OpenControllers()
{
    if (Controllers.open++ == 0 && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) < 0)
        Controllers.open = 0;
}

void Sdl2CloseControllers()
{
    if (Controllers.open == 0 || --Controllers.open > 0)
        return;
    for (Controller& controller : Controllers.slots)
        if (controller.handle)
            Remove(controller.id);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool Sdl2ControllerEvent(const SDL_Event& event)
{
    Controller* controller = nullptr;
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        Add(event.cdevice.which);
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        Remove(event.cdevice.which);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        if ((controller = ControllerOf(event.caxis.which)))
            Axis(*controller, event.caxis.axis, event.caxis.value);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if ((controller = ControllerOf(event.cbutton.which)))
            Button(*controller, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
        break;
    default:
        return false;
    }
    if (controller)
        MapPad(SlotOf(*controller), controller->state);
    return true;
}
