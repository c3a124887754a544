// A pack file read into memory entry by entry, with the reason for every entry that the game's
// reader would refuse.
#pragma once
#include "runtime/core/pack_entry.h"

#include <cstdint>
#include <string>
#include <vector>

struct ReadEntry {
    PackEntryHeader header;
    size_t offset = 0;         // of its header in the file
    uint32_t check = 0;        // the check value its compressed block declares (0: none)
    std::vector<uint8_t> data; // unpacked; empty when broken
    std::string broken;        // why it does not unpack, "" when it does
};

struct ReadPackFile {
    std::vector<ReadEntry> entries; // every entry the file frames, broken ones included
    std::string cut;                // why the bytes after the last entry frame no entry, or ""
    size_t fileSize = 0;
};

// Reads and unpacks every entry of the file; an error line naming the file when it cannot be
// read ("" otherwise, also for a pack with broken entries).
std::string ReadPack(const std::string& path, ReadPackFile& pack);

bool IsCompressed(const PackEntryHeader& header);
