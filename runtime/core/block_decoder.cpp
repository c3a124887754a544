// Decoder of compressed blocks: bit reading, the code table, copies and the check value.
#include "runtime/core/block_decoder.h"
#include "runtime/core/pack.h"

#include <cstring>

namespace {
uint32_t RotateLeft1(uint32_t value)
{
    return value << 1 | value >> 31;
}

// Up to 64 bits of the stream, the next bit at the top. Words past the end of the stream read
// as zeros, which decode to the end code; whether any of them were used is checked at the
// end, so a read outside the block never happens and a stream cut short still fails.
struct BitStream {
    const uint8_t* data;
    size_t size;
    size_t position; // byte offset of the next word to load; may pass size
    uint64_t bits;
    int count;
};

uint32_t LoadTailWord(const BitStream& stream)
{
    uint32_t word = 0;
    for (size_t k = 0; k < 4 && stream.position + k < stream.size; ++k)
        word |= uint32_t(stream.data[stream.position + k]) << (8 * k);
    return word;
}

// Afterwards at least 33 bits are buffered.
inline void Refill(BitStream& stream)
{
    if (stream.count > 32)
        return;
    uint32_t word = stream.position + 4 <= stream.size
                        ? LoadLittleEndian32(stream.data + stream.position)
                        : LoadTailWord(stream);
    stream.bits |= uint64_t(word) << (32 - stream.count);
    stream.count += 32;
    stream.position += 4;
}

// n from 1 to 32.
inline uint32_t ReadBits(BitStream& stream, int n)
{
    Refill(stream);
    uint32_t value = uint32_t(stream.bits >> (64 - n));
    stream.bits <<= n;
    stream.count -= n;
    return value;
}

inline uint32_t ReadBit(BitStream& stream)
{
    return ReadBits(stream, 1);
}

// Drops n bits that the caller has already looked at in the buffer.
inline void Skip(BitStream& stream, int n)
{
    stream.bits <<= n;
    stream.count -= n;
}

// n from 0 to 63.
uint64_t ReadWideBits(BitStream& stream, int n)
{
    uint64_t value = 0;
    while (n > 0) {
        int part = n > 32 ? 32 : n;
        value = value << part | ReadBits(stream, part);
        n -= part;
    }
    return value;
}

// What the next 8 bits of the stream hold of a gamma number: up to four (value bit, continue
// bit) pairs, ending at the first pair whose continue bit is 0.
struct GammaChunk {
    uint8_t pairs;
    uint8_t bits;
    uint8_t done;
};

struct GammaTable {
    GammaChunk chunks[256];
    constexpr GammaTable() : chunks()
    {
        for (int byte = 0; byte < 256; ++byte) {
            GammaChunk chunk{0, 0, 0};
            for (int pair = 0; pair < 4 && !chunk.done; ++pair) {
                int valueBit = (byte >> (7 - 2 * pair)) & 1;
                int continueBit = (byte >> (6 - 2 * pair)) & 1;
                chunk.bits = uint8_t(chunk.bits << 1 | valueBit);
                chunk.pairs++;
                chunk.done = continueBit == 0;
            }
            chunks[byte] = chunk;
        }
    }
};
constexpr GammaTable GAMMA;

// After a leading 1, pairs of (value bit, continue bit). 0 when the number would pass 32
// bits, which no valid stream needs (no length or distance reaches 2^32).
inline uint64_t ReadGamma(BitStream& stream)
{
    uint64_t value = 1;
    for (;;) {
        Refill(stream);
        GammaChunk chunk = GAMMA.chunks[stream.bits >> 56];
        value = value << chunk.pairs | chunk.bits;
        stream.bits <<= 2 * chunk.pairs;
        stream.count -= 2 * chunk.pairs;
        if (chunk.done)
            return value;
        if (value >> 32)
            return 0;
    }
}

bool StreamOverrun(const BitStream& stream)
{
    uint64_t consumed = uint64_t(stream.position) * 8 - uint64_t(stream.count);
    return consumed > uint64_t(stream.size) * 8;
}

struct Output {
    uint8_t* start;
    uint8_t* next;
    uint8_t* end;
};

// Copies forward byte by byte in effect, so a distance below the length repeats the tail.
inline bool Copy(Output& out, uint64_t distance, uint64_t length)
{
    if (distance == 0 || distance > uint64_t(out.next - out.start) ||
        length > uint64_t(out.end - out.next))
        return false;
    uint8_t* to = out.next;
    const uint8_t* from = to - distance;
    uint8_t* stop = to + length;
    // Whole chunks, as long as each chunk's source lies before its destination; the overshoot
    // past stop stays inside the output and is overwritten later.
    if (distance >= 16 && out.end - stop >= 16) {
        do {
            std::memcpy(to, from, 16);
            to += 16;
            from += 16;
        } while (to < stop);
    } else if (distance >= 8 && out.end - stop >= 8) {
        do {
            std::memcpy(to, from, 8);
            to += 8;
            from += 8;
        } while (to < stop);
    } else if (distance == 1) {
        std::memset(to, *from, length);
    } else {
        while (to < stop)
            *to++ = *from++;
    }
    out.next = stop;
    return true;
}

// 256 bytes of 8 bits: 64 words' worth, taken four bytes per refill.
bool RawRuns(BitStream& stream, Output& out)
{
    do {
        if (out.end - out.next < 256)
            return false;
        for (int k = 0; k < 64; ++k) {
            Refill(stream);
            for (int b = 0; b < 4; ++b) {
                *out.next++ = uint8_t(stream.bits >> 56);
                stream.bits <<= 8;
            }
            stream.count -= 32;
        }
    } while (ReadBit(stream));
    return true;
}

struct DecoderState {
    int literalWidth = 0; // 0 until the stream sets it
    uint32_t literalBase = 0;
    int indexWidth = 8;
    uint64_t lastDistance = 1;
};

bool DecodeMatch(BitStream& stream, Output& out, DecoderState& state)
{
    uint64_t g = ReadGamma(stream);
    if (g == 0)
        return false;
    if (g == 2) {
        uint64_t length = ReadGamma(stream);
        return length != 0 && Copy(out, state.lastDistance, length);
    }
    uint64_t high = g - 3;
    if (high != 0 && state.indexWidth >= 32)
        return false; // a distance beyond any output
    uint64_t low = state.indexWidth <= 32 ? ReadBits(stream, state.indexWidth)
                                          : ReadWideBits(stream, state.indexWidth);
    uint64_t distance = high << state.indexWidth | low;
    state.lastDistance = distance;
    uint64_t length = ReadGamma(stream);
    return length != 0 && Copy(out, distance, length + MatchLengthBonus(distance));
}

// Codes 0 0 1, after their 4 bits v: one-byte copies, the zero byte, raw runs and the literal
// width.
bool DecodeShortCopy(BitStream& stream, Output& out, DecoderState& state, uint32_t v)
{
    if (v == 1) {
        if (out.next == out.end)
            return false;
        *out.next++ = 0;
        return true;
    }
    if (v >= 2)
        return Copy(out, v - 1, 1);
    if (ReadBit(stream))
        return RawRuns(stream, out);
    state.literalWidth = 7 + int(ReadBit(stream));
    state.literalBase = state.literalWidth == 7 ? ReadBits(stream, 8) : 0;
    return true;
}

enum class DecodeStep { Go, End, Fail };

// Codes 0 0 0, after their 7-bit distance and 2-bit n: short matches, the end code and the
// index width.
DecodeStep DecodeShortMatch(BitStream& stream, Output& out, DecoderState& state, uint32_t distance,
                            uint32_t n)
{
    if (distance != 0) {
        state.lastDistance = distance;
        return Copy(out, distance, n + 2) ? DecodeStep::Go : DecodeStep::Fail;
    }
    if (n == 0)
        return DecodeStep::End;
    state.indexWidth = int(ReadBits(stream, int(n) + 3));
    return state.indexWidth == 0 ? DecodeStep::Fail : DecodeStep::Go;
}

bool DecodeStream(BitStream& stream, Output& out)
{
    DecoderState state;
    for (;;) {
        Refill(stream);
        if (stream.bits >> 63) {
            if (state.literalWidth == 0)
                return false; // a literal before the stream set the width
            // Literals are the common code: take as many as the buffered bits hold.
            do {
                if (out.next == out.end)
                    return false;
                uint64_t bits = stream.bits << 1;
                *out.next++ = uint8_t((bits >> (64 - state.literalWidth)) + state.literalBase);
                stream.bits = bits << state.literalWidth;
                stream.count -= 1 + state.literalWidth;
            } while (stream.bits >> 63 && stream.count >= 9);
            continue;
        }
        // Every other code's prefix and fixed fields fit in the 33 buffered bits: 0 1, then
        // 0 0 1 with 4 bits, or 0 0 0 with 7 + 2 bits.
        uint64_t bits = stream.bits;
        bool ok;
        if (bits >> 62 == 1) {
            Skip(stream, 2);
            ok = DecodeMatch(stream, out, state);
        } else if (bits >> 61 == 1) {
            Skip(stream, 3 + 4);
            ok = DecodeShortCopy(stream, out, state, uint32_t(bits >> 57) & 15);
        } else {
            Skip(stream, 3 + 7 + 2);
            DecodeStep step = DecodeShortMatch(stream, out, state, uint32_t(bits >> 54) & 127,
                                               uint32_t(bits >> 52) & 3);
            if (step == DecodeStep::End)
                return true;
            ok = step == DecodeStep::Go;
        }
        if (!ok)
            return false;
    }
}
} // namespace

uint32_t PackCheckValue(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    uint32_t sum = 0;
    auto step = [&sum](uint32_t word) { sum = (sum + word) ^ (RotateLeft1(word) + 1); };
    size_t offset = 0;
    for (; offset + 4 <= size; offset += 4)
        step(LoadLittleEndian32(data + offset));
    if (offset != size)
        step(LoadLittleEndian32(data + size - 4));
    return sum;
}

int64_t BlockUnpackedSize(const uint8_t* block, size_t blockSize)
{
    if (!block || blockSize < BLOCK_HEADER_SIZE || block[0] != 'Z' || block[1] != 'Q')
        return -1;
    return LoadLittleEndian32(block + BLOCK_SIZE_OFFSET);
}

BlockDecoding DecodeBlockWithReason(const uint8_t* block, size_t blockSize, uint8_t* destination,
                                    size_t destinationSize)
{
    BlockDecoding decoding;
    decoding.declaredSize = BlockUnpackedSize(block, blockSize);
    if (decoding.declaredSize < 0) {
        decoding.failure = BlockFailure::BadMagic;
        return decoding;
    }
    decoding.declaredCheck = LoadLittleEndian32(block + BLOCK_CHECK_OFFSET);
    if (uint64_t(decoding.declaredSize) != destinationSize ||
        decoding.declaredSize > LARGEST_UNPACKED_SIZE || (destinationSize != 0 && !destination)) {
        decoding.failure = BlockFailure::SizeMismatch;
        return decoding;
    }
    BitStream stream{block + BLOCK_HEADER_SIZE, blockSize - BLOCK_HEADER_SIZE, 0, 0, 0};
    Output out{destination, destination, destination + destinationSize};
    if (!DecodeStream(stream, out) || StreamOverrun(stream) || out.next != out.end) {
        decoding.failure = BlockFailure::MalformedStream;
        return decoding;
    }
    if (decoding.declaredCheck != 0) {
        decoding.dataCheck = PackCheckValue(destination, destinationSize);
        if (decoding.dataCheck != decoding.declaredCheck)
            decoding.failure = BlockFailure::FailedCheck;
    }
    return decoding;
}

bool DecodeBlock(const uint8_t* block, size_t blockSize, uint8_t* destination,
                 size_t destinationSize)
{
    return DecodeBlockWithReason(block, blockSize, destination, destinationSize).failure ==
           BlockFailure::None;
}

int32_t UnpackMemory(const void* block, int32_t blockSize, void* destination,
                     int32_t destinationSize)
{
    if (blockSize < 0 || destinationSize < 0)
        return 0;
    auto* bytes = static_cast<const uint8_t*>(block);
    int64_t declared = BlockUnpackedSize(bytes, size_t(blockSize));
    if (declared < 0 || declared > destinationSize)
        return 0;
    bool ok =
        DecodeBlock(bytes, size_t(blockSize), static_cast<uint8_t*>(destination), size_t(declared));
    return ok ? int32_t(declared) : 0;
}
