// Building a pack: the definition text first, then the frame images in order, each entry
// compressed when that makes it smaller.
#pragma once
#include "tools/cellpack/command_line.h"

#include <string>
#include <vector>

// The pack of the files (each one entry, in order); an error line naming the file, or "".
std::string BuildPack(const std::vector<std::string>& files, std::vector<uint8_t>& pack);

extern const Command BuildCommand;
