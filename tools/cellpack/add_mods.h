// The command that adds a folder of authors' own cell types to a world: each type packed after
// the types the world's list holds and appended to it, with a manifest so that running it again
// replaces only what it made.
#pragma once
#include "tools/cellpack/command_line.h"

extern const Command AddModsCommand;
