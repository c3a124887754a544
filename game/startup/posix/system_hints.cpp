// The hints' words for a POSIX desktop: the installed command, the source folder's script,
// and the graphical session.
#include "game/game.h"

std::string HowToStartInAWorld()
{
    return "Start it with the\n"
           "`vellomira` command, which prepares your own folder with the installed world, or\n"
           "with scripts/play.sh in the source folder, or in a folder that holds cell/ and gfx/.";
}

std::string WhatTheScreenNeeds()
{
    return "graphical session (X11 or Wayland, named by DISPLAY or WAYLAND_DISPLAY).";
}
