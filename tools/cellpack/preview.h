// The preview sheet of a pack: every frame drawn as the game draws it, at the smallest and the
// largest size of the type, with the eyes of the types that have them.
#pragma once
#include "tools/cellpack/command_line.h"

// The pupils look at a player whose centre lies this far ahead of the cell's front edge.
constexpr float PREVIEW_PLAYER_DISTANCE = 60;

extern const Command PreviewCommand;
