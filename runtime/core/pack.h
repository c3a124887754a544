// The sequential reader of packed data files: entries of (unpacked size, stored size, bytes),
// each stored raw or as one compressed block.
#pragma once
#include <cstdint>

// 1 when the file was opened for reading, 0 otherwise (also for an absent name). Closes a
// pack that is open first.
int32_t OpenPack(const char* fileName);
// The next entry, unpacked; none at the end of the file, when no pack is open, when memory
// runs out, and for an entry that is cut short by the end of the file, declares more than
// LARGEST_UNPACKED_SIZE, or whose block fails to decode or to match its check value. The memory
// belongs to the reader and stays valid until the next NextPackEntry or ClosePack.
const uint8_t* NextPackEntry();
// The size of the entry the last NextPackEntry returned; -1 after none or with no pack open.
int32_t PackEntrySize();
// 1 when the last NextPackEntry gave none because the file had no bytes left (the clean end
// of the pack), 0 after an entry, a broken entry, or with no pack open.
int32_t PackEndReached();
// Closes the file and frees the last entry.
void ClosePack();

// Unpacks one compressed block: the number of bytes produced into destination (room for
// destinationSize bytes); 0 for a block without the magic, one larger than the room, a
// malformed stream or a failed check.
int32_t UnpackMemory(const void* block, int32_t blockSize, void* destination,
                     int32_t destinationSize);
