// Building a pack: the definition text first, then the frame images in order, each entry
// compressed when that makes it smaller; the sources are checked for what the game will do
// with them before anything is written.
#pragma once
#include "tools/cellpack/command_line.h"

#include <cstdint>
#include <string>
#include <vector>

// The files of one pack read into memory: the definition text, then the frames.
struct PackSources {
    std::vector<std::string> files;
    std::vector<std::vector<uint8_t>> entries;
};

// What the checks found, one line each, naming the source file: "FILE (frame 2): what".
struct SourceReport {
    std::vector<std::string> errors;   // the game would refuse the type, or misread it
    std::vector<std::string> warnings; // the game loads it but draws it otherwise than meant
};

// Reads the files; frames with an alpha channel are keyed first when keyAlpha is above 0.
// An error line naming the file when one cannot be read, else "".
std::string ReadPackSources(const std::vector<std::string>& files, int32_t keyAlpha,
                            PackSources& sources);
// Checks the definition as the game reads it and every frame for what the game will show.
SourceReport CheckPackSources(const PackSources& sources);
// The pack of the entries; an error line naming the file that is too large, or "".
std::string PackEntries(const PackSources& sources, std::vector<uint8_t>& pack);

extern const Command BuildCommand;
