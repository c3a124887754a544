// Looking into a pack: listing its entries and extracting them to files.
#pragma once
#include "tools/cellpack/command_line.h"

extern const Command ListCommand;
extern const Command ExtractCommand;
