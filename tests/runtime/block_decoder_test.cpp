#include "runtime/core/block_decoder.h"
#include "runtime/core/block_stream.h"
#include "runtime/core/pack.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {
std::vector<uint8_t> KnownBlock()
{
    return {0x5A, 0x51, 0x06, 0x00, 0x00, 0x00, 0x81, 0x8D, 0x8D,
            0x8D, 0x40, 0x68, 0xD0, 0x20, 0x00, 0x00, 0x00, 0x0C};
}

// Result and output of unpacking into a buffer of the given room.
struct Unpacked {
    int32_t result;
    std::string text;
};

Unpacked Unpack(const std::vector<uint8_t>& block, int32_t room = 1 << 16)
{
    std::vector<uint8_t> out(size_t(room) + 1, 0xEE);
    int32_t result = UnpackMemory(block.data(), int32_t(block.size()), out.data(), room);
    EXPECT_EQ(out[size_t(room)], 0xEE) << "wrote past the room";
    return {result, std::string(out.begin(), out.begin() + (result > 0 ? result : 0))};
}

// A block of the codes written by build, declaring the given unpacked size.
std::vector<uint8_t> Block(const std::string& expected,
                           const std::function<void(BlockStream&)>& build, bool withCheck = true)
{
    BlockStream stream;
    build(stream);
    std::vector<uint8_t> block;
    FinishBlock(stream, reinterpret_cast<const uint8_t*>(expected.data()), expected.size(),
                withCheck, block);
    return block;
}
} // namespace

TEST(BlockDecoder, KnownBlockUnpacksAndItsCheckValueGuardsIt)
{
    std::vector<uint8_t> block = KnownBlock();
    Unpacked good = Unpack(block);
    EXPECT_EQ(good.result, 6);
    EXPECT_EQ(good.text, "ABBBBB");
    for (size_t offset = 6; offset < 10; ++offset) {
        for (int flip : {0x01, 0x80, 0xFF}) {
            std::vector<uint8_t> bad = block;
            bad[offset] ^= uint8_t(flip);
            EXPECT_EQ(Unpack(bad).result, 0) << "check byte " << offset << " xor " << flip;
        }
    }
    std::vector<uint8_t> unchecked = block;
    for (size_t offset = 6; offset < 10; ++offset)
        unchecked[offset] = 0;
    EXPECT_EQ(Unpack(unchecked).text, "ABBBBB") << "check value 0 is not checked";
}

TEST(BlockDecoder, CheckValueOverlapsTheLastWord)
{
    const uint8_t data[] = {'A', 'B', 'B', 'B', 'B', 'B'};
    EXPECT_EQ(PackCheckValue(data, 6), 0x8D8D8D81u);
    EXPECT_EQ(PackCheckValue(data, 3), 0u);
    EXPECT_EQ(PackCheckValue(data, 4), (0x42424241u) ^ (0x84848482u + 1));
}

TEST(BlockDecoder, EveryCodeOfTheTable)
{
    struct Case {
        const char* name;
        std::string expected;
        std::function<void(BlockStream&)> build;
    } cases[] = {
        {"8-bit literals", "Hi!",
         [](BlockStream& s) {
             PutLiteralWidth(s, 8, 0);
             for (char c : std::string("Hi!"))
                 PutLiteral(s, uint8_t(c), 8, 0);
         }},
        {"7-bit literals above a base wrap modulo 256", "\xF0\x10\x6E",
         [](BlockStream& s) {
             PutLiteralWidth(s, 7, 0xF0);
             for (uint8_t b : {0xF0, 0x10, 0x6E})
                 PutLiteral(s, b, 7, 0xF0);
         }},
        {"match of length 10 at distance 1", "x" + std::string(10, 'x'),
         [](BlockStream& s) {
             PutLiteralWidth(s, 8, 0);
             PutLiteral(s, 'x', 8, 0);
             PutMatch(s, 1, 10, 8);
         }},
        {"repeat match reuses the last distance",
         "abcabcab"
         "cab",
         [](BlockStream& s) {
             PutLiteralWidth(s, 8, 0);
             for (char c : std::string("abc"))
                 PutLiteral(s, uint8_t(c), 8, 0);
             PutShortMatch(s, 3, 5);
             PutRepeatMatch(s, 3);
         }},
        {"short copies leave the last distance alone",
         "abca"
         "bc"
         "c"
         "bc",
         [](BlockStream& s) {
             PutLiteralWidth(s, 8, 0);
             for (char c : std::string("abc"))
                 PutLiteral(s, uint8_t(c), 8, 0);
             PutShortCopy(s, 3);
             PutShortMatch(s, 3, 2);
             PutShortCopy(s, 1);
             PutRepeatMatch(s, 2);
         }},
        {"zero byte", std::string("a\0", 2),
         [](BlockStream& s) {
             PutLiteralWidth(s, 8, 0);
             PutLiteral(s, 'a', 8, 0);
             PutZeroByte(s);
         }},
        {"two raw runs of 256 bytes", std::string(256, 'r') + std::string(256, 's'),
         [](BlockStream& s) {
             std::string raw = std::string(256, 'r') + std::string(256, 's');
             PutRawRuns(s, reinterpret_cast<const uint8_t*>(raw.data()), 2);
         }},
        {"index widths 4, 20 and 40", std::string(300, 'q') + "Q" + std::string(300, 'q') + "Qq",
         [](BlockStream& s) {
             PutLiteralWidth(s, 8, 0);
             PutLiteral(s, 'q', 8, 0);
             PutIndexWidth(s, 4);
             PutMatch(s, 1, 299, 4);
             PutLiteral(s, 'Q', 8, 0);
             PutIndexWidth(s, 20);
             PutMatch(s, 301, 300, 20);
             PutIndexWidth(s, 40);
             PutMatch(s, 301, 2, 40);
         }},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> block = Block(c.expected, [&](BlockStream& s) {
            c.build(s);
            PutEnd(s);
        });
        Unpacked got = Unpack(block);
        EXPECT_EQ(got.result, int32_t(c.expected.size())) << c.name;
        EXPECT_EQ(got.text, c.expected) << c.name;
    }
}

TEST(BlockDecoder, MalformedStreamsGiveZero)
{
    auto literal = [](BlockStream& s) {
        PutLiteralWidth(s, 8, 0);
        PutLiteral(s, 'a', 8, 0);
    };
    struct Case {
        const char* name;
        std::string declared;
        std::function<void(BlockStream&)> build;
    } cases[] = {
        {"distance before the start", "aaa",
         [&](BlockStream& s) {
             literal(s);
             PutMatch(s, 200, 2, 8);
             PutEnd(s);
         }},
        {"short match before the start", "aaa",
         [&](BlockStream& s) {
             literal(s);
             PutShortMatch(s, 2, 2);
             PutEnd(s);
         }},
        {"short copy before the start", "aa",
         [&](BlockStream& s) {
             literal(s);
             PutShortCopy(s, 2);
             PutEnd(s);
         }},
        {"repeat of the initial distance with no output", "aa",
         [](BlockStream& s) {
             PutRepeatMatch(s, 2);
             PutEnd(s);
         }},
        {"distance 0", "aaa",
         [&](BlockStream& s) {
             literal(s);
             PutIndexWidth(s, 4);
             PutBits(s, 1, 2);
             PutGamma(s, 3);
             PutBits(s, 0, 4);
             PutGamma(s, 2);
             PutEnd(s);
         }},
        {"literal before the width", "a",
         [](BlockStream& s) {
             PutLiteral(s, 'a', 8, 0);
             PutEnd(s);
         }},
        {"index width 0", "aa",
         [&](BlockStream& s) {
             literal(s);
             PutBits(s, 0, 10);
             PutBits(s, 1, 2);
             PutBits(s, 0, 4);
             PutMatch(s, 1, 5, 0);
             PutEnd(s);
         }},
        {"gamma that never ends", "aaa",
         [&](BlockStream& s) {
             literal(s);
             PutBits(s, 1, 2);
             for (int k = 0; k < 40; ++k)
                 PutBits(s, 0xFFFFFFFF, 32);
         }},
        {"no end code", "aa",
         [&](BlockStream& s) {
             literal(s);
             PutLiteral(s, 'a', 8, 0);
             PutBits(s, 0xFFFFFFFF, 32);
         }},
        {"output beyond the declared size", "a",
         [&](BlockStream& s) {
             literal(s);
             PutShortMatch(s, 1, 5);
             PutEnd(s);
         }},
        {"raw run beyond the declared size", std::string(255, 'r'),
         [](BlockStream& s) {
             std::string r(256, 'r');
             PutRawRuns(s, reinterpret_cast<const uint8_t*>(r.data()), 1);
             PutEnd(s);
         }},
        {"end before the declared size", "aaaa",
         [&](BlockStream& s) {
             literal(s);
             PutShortCopy(s, 1);
             PutEnd(s);
         }},
        {"stream ends without its words", "aa", [](BlockStream& s) { PutBits(s, 1, 3); }},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> block = Block(c.declared, c.build, false);
        EXPECT_EQ(Unpack(block).result, 0) << c.name;
    }
}

TEST(BlockDecoder, CutOrForeignBlocksGiveZero)
{
    std::vector<uint8_t> block = KnownBlock();
    for (size_t cut = 0; cut < block.size(); ++cut) {
        std::vector<uint8_t> shorter(block.begin(), block.begin() + cut);
        EXPECT_EQ(Unpack(shorter).result, 0) << "cut to " << cut << " bytes";
    }
    std::vector<uint8_t> noMagic = block;
    noMagic[1] = 'R';
    EXPECT_EQ(Unpack(noMagic).result, 0);
    EXPECT_EQ(Unpack(block, 5).result, 0) << "room smaller than the declared size";
    std::vector<uint8_t> huge = block;
    huge[5] = 0x7F;
    EXPECT_EQ(Unpack(huge).result, 0) << "declares 2 GiB";
    EXPECT_EQ(UnpackMemory(nullptr, 18, nullptr, 100), 0);
}

TEST(BlockDecoder, AFailedDecodeSaysWhyWhileUnpackMemoryStillGivesZero)
{
    auto edit = [](size_t at, uint8_t value) {
        std::vector<uint8_t> block = KnownBlock();
        block[at] = value;
        return block;
    };
    std::vector<uint8_t> cut = KnownBlock(), stub = KnownBlock();
    cut.resize(14);
    stub.resize(9);
    struct Case {
        const char* what;
        std::vector<uint8_t> block;
        size_t room;
        BlockFailure failure;
    } cases[] = {
        {"sound", KnownBlock(), 6, BlockFailure::None},
        {"no magic", edit(0, 'X'), 6, BlockFailure::BadMagic},
        {"shorter than a header", stub, 6, BlockFailure::BadMagic},
        {"another size than the room", KnownBlock(), 7, BlockFailure::SizeMismatch},
        {"declares a size it does not decode to", edit(2, 7), 7, BlockFailure::MalformedStream},
        {"stream cut short", cut, 6, BlockFailure::MalformedStream},
        {"check value changed", edit(9, 0x8C), 6, BlockFailure::FailedCheck},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> out(c.room);
        BlockDecoding decoding =
            DecodeBlockWithReason(c.block.data(), c.block.size(), out.data(), out.size());
        EXPECT_EQ(decoding.failure, c.failure) << c.what;
        EXPECT_EQ(DecodeBlock(c.block.data(), c.block.size(), out.data(), out.size()),
                  c.failure == BlockFailure::None)
            << c.what;
        if (c.failure != BlockFailure::None && c.room == 6) {
            EXPECT_EQ(Unpack(c.block).result, 0) << c.what;
        }
    }
    std::vector<uint8_t> out(6), block = edit(9, 0x8C);
    BlockDecoding failed = DecodeBlockWithReason(block.data(), block.size(), out.data(), 6);
    EXPECT_EQ(failed.declaredCheck, 0x8C8D8D81u);
    EXPECT_EQ(failed.dataCheck, 0x8D8D8D81u) << "the check value of the text ABBBBB";
    EXPECT_EQ(failed.declaredSize, 6);
}
