// Checking a pack as the game loads it: every entry unpacks, the first is a sound definition
// text, the others are images the registered decoders read, and the frame count fits the list.
#pragma once
#include "tools/cellpack/cell_list.h"
#include "tools/cellpack/command_line.h"

#include <string>
#include <vector>

struct PackCheck {
    std::vector<std::string> problems; // "where: what", the file name left out
    std::vector<std::string> warnings; // the same for what loads but shows otherwise than meant
    int32_t frames = 0;                // frame entries in the pack
};

// Checks the pack; listed is the pack's type in the list (none to check the pack alone) and
// type its number. An error line naming the file when it cannot be read, else "".
std::string CheckPack(const std::string& path, const CellListType* listed, int32_t type,
                      PackCheck& check);

// The type number a pack's name gives (cell\NNN.cell), or 0.
int32_t TypeFromName(const std::string& path);
// The type number given with --type; a problem or "".
std::string ParseTypeOption(const std::string& text, int32_t& type);

extern const Command CheckCommand;
