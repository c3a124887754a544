// The whole game: plain procedures over global values, declared by area. The game's records
// and global values are in data/globals.h; each area's header declares what the files of its
// folder define. The game's own files include the area headers they use, so that their
// includes show which areas depend on which; this header is for code that takes the whole.
#pragma once
#include "game/data/data.h"             // cell types, bubbles, preferences, images
#include "game/data/globals.h"          // records and global values
#include "game/rendering/rendering.h"   // the world's drawing, the eyes, the debug overlay
#include "game/simulation/simulation.h" // geometry, player, camera, cells, the main loop
#include "game/startup/startup.h"       // start-up stages, fatal errors, the end
