// Writing the codes of the compressed block format, and what each code costs in bits. The
// encoder's back end; tests also build streams with it code by code.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The shortest distance and length each code takes.
constexpr uint32_t SHORT_MATCH_MAX_DISTANCE = 127;
constexpr uint32_t SHORT_MATCH_MIN_LENGTH = 2;
constexpr uint32_t SHORT_MATCH_MAX_LENGTH = 5;
constexpr uint32_t SHORT_COPY_MAX_DISTANCE = 14;
constexpr uint32_t RAW_RUN_LENGTH = 256;
constexpr int DEFAULT_INDEX_WIDTH = 8;

// A stream under construction: whole 32-bit words, and the bits of the word being filled.
// Growing the word list may throw std::bad_alloc; the encoder turns that into a result.
struct BlockStream {
    std::vector<uint32_t> words;
    uint64_t pending = 0;
    int pendingBits = 0;
};

// The bits a gamma number of value (at least 2) takes: two per bit after the leading one.
int GammaBits(uint64_t value);
// The bits of a match (code 0 1) at a distance with the index width; 0 when the length is too
// short for that distance (the coded length would fall below 2).
int MatchBits(uint64_t distance, uint64_t length, int indexWidth);
int RepeatMatchBits(uint64_t length);
constexpr int SHORT_MATCH_BITS = 12;
constexpr int SHORT_COPY_BITS = 7;
constexpr int RAW_RUN_BITS = 3 + 4 + 1 + 8 * RAW_RUN_LENGTH + 1;
// Setting the literal width: 8 bits wide, or 7 bits above a base.
int LiteralWidthBits(int width);
int IndexWidthBits(int width);

void PutBits(BlockStream& stream, uint32_t value, int count);
void PutGamma(BlockStream& stream, uint64_t value);
// (byte - base) modulo 256 must fit in width bits.
void PutLiteral(BlockStream& stream, uint8_t byte, int width, uint32_t base);
void PutMatch(BlockStream& stream, uint64_t distance, uint64_t length, int indexWidth);
void PutRepeatMatch(BlockStream& stream, uint64_t length);
void PutShortMatch(BlockStream& stream, uint32_t distance, uint32_t length);
// One byte from 1 to 14 bytes back.
void PutShortCopy(BlockStream& stream, uint32_t distance);
void PutZeroByte(BlockStream& stream);
// runs * 256 bytes, eight bits each.
void PutRawRuns(BlockStream& stream, const uint8_t* bytes, size_t runs);
void PutLiteralWidth(BlockStream& stream, int width, uint32_t base);
// Widths from 1 to 63.
void PutIndexWidth(BlockStream& stream, int width);
void PutEnd(BlockStream& stream);

// Ends the stream (without writing the end code) and appends the whole block, header first,
// to block. The check value covers data when withCheck is set.
void FinishBlock(BlockStream& stream, const uint8_t* data, size_t size, bool withCheck,
                 std::vector<uint8_t>& block);
