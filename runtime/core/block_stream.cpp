// The bit writer of compressed blocks and the cost of every code.
#include "runtime/core/block_stream.h"

#include "runtime/core/block_decoder.h"

#include <bit>

namespace {
void PutLittleEndian32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        bytes.push_back(uint8_t(value >> (8 * k)));
}
} // namespace

int GammaBits(uint64_t value)
{
    return 2 * (std::bit_width(value) - 1);
}

int MatchBits(uint64_t distance, uint64_t length, int indexWidth)
{
    uint32_t bonus = MatchLengthBonus(distance);
    if (length < bonus + 2)
        return 0;
    return 2 + GammaBits((distance >> indexWidth) + 3) + indexWidth + GammaBits(length - bonus);
}

int RepeatMatchBits(uint64_t length)
{
    return 2 + GammaBits(2) + GammaBits(length);
}

int LiteralWidthBits(int width)
{
    return width == 7 ? 3 + 4 + 1 + 1 + 8 : 3 + 4 + 1 + 1;
}

int IndexWidthBits(int width)
{
    return width <= 15 ? 12 + 4 : width <= 31 ? 12 + 5 : 12 + 6;
}

void PutBits(BlockStream& stream, uint32_t value, int count)
{
    if (count == 0)
        return;
    uint64_t mask = count >= 32 ? 0xFFFFFFFFu : (uint64_t(1) << count) - 1;
    stream.pending = stream.pending << count | (value & mask);
    stream.pendingBits += count;
    if (stream.pendingBits >= 32) {
        stream.pendingBits -= 32;
        stream.words.push_back(uint32_t(stream.pending >> stream.pendingBits));
    }
}

void PutGamma(BlockStream& stream, uint64_t value)
{
    for (int bit = std::bit_width(value) - 2; bit >= 0; --bit) {
        PutBits(stream, uint32_t(value >> bit) & 1, 1);
        PutBits(stream, bit > 0 ? 1 : 0, 1);
    }
}

void PutLiteral(BlockStream& stream, uint8_t byte, int width, uint32_t base)
{
    PutBits(stream, 1, 1);
    PutBits(stream, uint8_t(byte - base), width);
}

void PutMatch(BlockStream& stream, uint64_t distance, uint64_t length, int indexWidth)
{
    PutBits(stream, 1, 2);
    PutGamma(stream, (distance >> indexWidth) + 3);
    uint64_t low = distance & ((uint64_t(1) << indexWidth) - 1);
    if (indexWidth > 32)
        PutBits(stream, uint32_t(low >> 32), indexWidth - 32);
    PutBits(stream, uint32_t(low), indexWidth > 32 ? 32 : indexWidth);
    PutGamma(stream, length - MatchLengthBonus(distance));
}

void PutRepeatMatch(BlockStream& stream, uint64_t length)
{
    PutBits(stream, 1, 2);
    PutGamma(stream, 2);
    PutGamma(stream, length);
}

void PutShortMatch(BlockStream& stream, uint32_t distance, uint32_t length)
{
    PutBits(stream, 0, 3);
    PutBits(stream, distance, 7);
    PutBits(stream, length - 2, 2);
}

void PutShortCopy(BlockStream& stream, uint32_t distance)
{
    PutBits(stream, 1, 3);
    PutBits(stream, distance + 1, 4);
}

void PutZeroByte(BlockStream& stream)
{
    PutBits(stream, 1, 3);
    PutBits(stream, 1, 4);
}

void PutRawRuns(BlockStream& stream, const uint8_t* bytes, size_t runs)
{
    PutBits(stream, 1, 3);
    PutBits(stream, 0, 4);
    PutBits(stream, 1, 1);
    for (size_t run = 0; run < runs; ++run) {
        for (uint32_t k = 0; k < RAW_RUN_LENGTH; ++k)
            PutBits(stream, bytes[run * RAW_RUN_LENGTH + k], 8);
        PutBits(stream, run + 1 < runs ? 1 : 0, 1);
    }
}

void PutLiteralWidth(BlockStream& stream, int width, uint32_t base)
{
    PutBits(stream, 1, 3);
    PutBits(stream, 0, 4);
    PutBits(stream, 0, 1);
    PutBits(stream, width == 8 ? 1 : 0, 1);
    if (width == 7)
        PutBits(stream, base, 8);
}

void PutIndexWidth(BlockStream& stream, int width)
{
    uint32_t n = width <= 15 ? 1 : width <= 31 ? 2 : 3;
    PutBits(stream, 0, 3 + 7);
    PutBits(stream, n, 2);
    PutBits(stream, uint32_t(width), int(n) + 3);
}

void PutEnd(BlockStream& stream)
{
    PutBits(stream, 0, 12);
}

void FinishBlock(BlockStream& stream, const uint8_t* data, size_t size, bool withCheck,
                 std::vector<uint8_t>& block)
{
    if (stream.pendingBits > 0)
        PutBits(stream, 0, 32 - stream.pendingBits);
    block.reserve(block.size() + BLOCK_HEADER_SIZE + 4 * stream.words.size());
    block.push_back('Z');
    block.push_back('Q');
    PutLittleEndian32(block, uint32_t(size));
    PutLittleEndian32(block, withCheck ? PackCheckValue(data, size) : 0);
    for (uint32_t word : stream.words)
        PutLittleEndian32(block, word);
}
