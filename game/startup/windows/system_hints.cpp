// The hints' words for Windows: the Start menu entry, the unpacked folder, and the desktop.
#include "game/game.h"

std::string HowToStartInAWorld()
{
    return "Start it from its entry\n"
           "in the Start menu, which prepares your own folder with the installed world, or\n"
           "double-click vellomira.exe in the folder that holds cell\\ and gfx\\.";
}

std::string WhatTheScreenNeeds()
{
    return "desktop to show its screen on: a session of a signed-in user, not a service.";
}
