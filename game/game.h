// The game's globals and procedures.
#pragma once
#include "runtime/runtime.h"

// Runs the whole game, from the first console line to the end sequence; the process's exit
// status.
int RunGame();
