// The binary cell type list cell\cell.ini: a signed byte count, then per type a 16-bit LE
// spawn count and an 8-bit frame count; its text form; the commands that print and write it.
#pragma once
#include "tools/cellpack/command_line.h"

#include <cstdint>
#include <string>
#include <vector>

// What the list's fields hold: a signed byte counts the types, a 16-bit field the cells of a
// type made at start, a signed byte its frames.
constexpr int32_t MOST_TYPES = 127;
constexpr int32_t MOST_SPAWN = 32767;
constexpr int32_t MOST_FRAMES = 127;

struct CellListType {
    int32_t spawnCount = 0;
    int32_t frameCount = 0;
};

// The list as the game reads it (numbers missing from a short file read as 0); a problem line
// ("" when the file is complete): empty, or shorter than its count says.
std::string ParseCellList(const std::vector<uint8_t>& bytes, std::vector<CellListType>& types);
// The list file of the types; at most 127 types, each number in its field's range.
std::vector<uint8_t> CellListBytes(const std::vector<CellListType>& types);
// One line per type, "spawn frames", behind a comment line; the form ParseCellListText reads.
std::string CellListText(const std::vector<CellListType>& types);
// Reads lines of "spawn frames" ("#" starts a comment, blank lines are skipped); every
// problem, each naming its line.
std::vector<std::string> ParseCellListText(const std::string& text,
                                           std::vector<CellListType>& types);
// A type "spawn:frames" from the command line; a problem or "".
std::string ParseCellListType(const std::string& text, CellListType& type);

// Reads the list at path for checking a pack: its types, or an error line naming the file.
std::string ReadCellList(const std::string& path, std::vector<CellListType>& types);

extern const Command TypesCommand;
extern const Command AddTypeCommand;
extern const Command WriteTypesCommand;
