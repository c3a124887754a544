// The compressed block format of packed data files: its header, check value and decoder.
#pragma once
#include "runtime/core/little_endian.h"

#include <cstddef>
#include <cstdint>

// A block: "ZQ", the unpacked size (u32 LE), the check value (u32 LE, 0 = unchecked), then
// the bit stream as 32-bit little-endian words, each read from its most significant bit down.
constexpr size_t BLOCK_SIZE_OFFSET = 2;
constexpr size_t BLOCK_CHECK_OFFSET = 6;
constexpr size_t BLOCK_HEADER_SIZE = 10;
// Entries and blocks that declare more than this are refused as corrupt.
constexpr uint32_t LARGEST_UNPACKED_SIZE = 256u << 20;

// How much longer a match (code 0 1) is than its coded length, by its distance: near matches
// have short-match codes for the shortest lengths, far ones pay only when longer.
inline uint32_t MatchLengthBonus(uint64_t distance)
{
    if (distance <= 127)
        return 4;
    if (distance <= 638)
        return 0;
    if (distance <= 14334)
        return 1;
    if (distance <= 65535)
        return 2;
    return 3;
}

// The check value of unpacked data: 32-bit words from the start, the last word overlapping
// its predecessor when the size is not a multiple of 4; 0 for fewer than 4 bytes.
uint32_t PackCheckValue(const uint8_t* data, size_t size);

// The unpacked size a block declares; -1 when the block is too short or lacks the magic.
int64_t BlockUnpackedSize(const uint8_t* block, size_t blockSize);

// Why a block does not decode.
enum class BlockFailure {
    None,
    BadMagic,        // too short for a header, or without "ZQ"
    SizeMismatch,    // it declares another size than the destination's, or an absurd one
    MalformedStream, // the stream leaves the block or the output, or ends at another size
    FailedCheck,     // the data decoded but its check value differs from the block's
};

// What decoding a block found.
struct BlockDecoding {
    BlockFailure failure = BlockFailure::None;
    int64_t declaredSize = -1;  // the unpacked size of the header; -1 without a header
    uint32_t declaredCheck = 0; // the check value of the header
    uint32_t dataCheck = 0;     // the check value of the decoded data, with FailedCheck
};

// Decodes a block of blockSize bytes into destination, which must hold exactly the size the
// block declares. It succeeds only when the stream stays inside the block, every copy reaches
// back inside the output, the end code arrives exactly when the declared size is produced, and
// the check value (when nonzero) matches; otherwise the failure says which did not hold.
// Allocates nothing.
BlockDecoding DecodeBlockWithReason(const uint8_t* block, size_t blockSize, uint8_t* destination,
                                    size_t destinationSize);
// The same, true when it succeeds.
bool DecodeBlock(const uint8_t* block, size_t blockSize, uint8_t* destination,
                 size_t destinationSize);
