// One pack entry's framing and unpacking, shared by the sequential file reader and by tools
// that walk a whole pack held in memory and want to see how each entry is stored.
#pragma once
#include "runtime/core/block_decoder.h"

#include <cstddef>
#include <cstdint>

// Entry header: unpacked size and stored size, both u32 little-endian.
constexpr int32_t PACK_ENTRY_HEADER_SIZE = 8;

struct PackEntryHeader {
    uint32_t unpackedSize = 0;
    uint32_t storedSize = 0; // equal to unpackedSize when the bytes are stored raw
};

// How an entry sits in the bytes that are left of its pack.
enum class PackFraming {
    Whole,     // header and stored bytes are all there
    End,       // no bytes left: the clean end of the pack
    CutHeader, // fewer than PACK_ENTRY_HEADER_SIZE bytes left
    CutStored, // the stored bytes run past the end of the pack
    TooLarge,  // the unpacked size is above LARGEST_UNPACKED_SIZE
};

PackEntryHeader ReadPackEntryHeader(const uint8_t* header);
// The framing of an entry whose header has been read, with `left` bytes after its header.
PackFraming FramePackEntry(const PackEntryHeader& header, int64_t left);

// Turns the stored bytes into the entry (header.unpackedSize bytes): copied when raw, else
// decoded as one compressed block. False when the block does not decode to exactly that size
// or fails its check value; why, in decoding when one is given.
bool UnpackPackEntry(const PackEntryHeader& header, const uint8_t* stored, uint8_t* entry,
                     BlockDecoding* decoding = nullptr);

// One entry of a pack in memory, as NextPackEntryInMemory finds it.
struct PackEntryView {
    PackEntryHeader header;
    size_t offset = 0;               // where its header starts in the pack
    const uint8_t* stored = nullptr; // its stored bytes, valid when framing is Whole
    PackFraming framing = PackFraming::End;
};

// The entry at position of the pack (size bytes), moving position past it when it is Whole.
// A pack can be walked until the framing is no longer Whole: End marks its clean end, any
// other value a pack whose rest cannot be framed.
PackEntryView NextPackEntryInMemory(const uint8_t* pack, size_t size, size_t& position);
