#include "runtime/core/block_decoder.h"
#include "runtime/core/block_encoder.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {
// A slow decoder written straight from the code table, one bit at a time, that also counts
// which codes a stream uses.
struct ReferenceDecoder {
    const std::vector<uint8_t>& block;
    size_t bit = 0;
    std::vector<uint8_t> out;
    std::map<std::string, int> codes;

    uint32_t Bit()
    {
        size_t word = 10 + 4 * (bit / 32);
        uint32_t value = 0;
        for (int k = 0; k < 4; ++k)
            value |= uint32_t(word + k < block.size() ? block[word + k] : 0) << (8 * k);
        return (value >> (31 - bit++ % 32)) & 1;
    }
    uint64_t Bits(int n)
    {
        uint64_t value = 0;
        while (n-- > 0)
            value = value << 1 | Bit();
        return value;
    }
    uint64_t Gamma()
    {
        uint64_t value = 1;
        do
            value = value * 2 + Bit();
        while (Bit());
        return value;
    }
    void Copy(uint64_t distance, uint64_t length)
    {
        for (uint64_t k = 0; k < length; ++k)
            out.push_back(out[out.size() - distance]);
    }

    std::optional<std::vector<uint8_t>> Run()
    {
        int width = 0, index = 8;
        uint32_t base = 0;
        uint64_t last = 1;
        for (;;) {
            if (Bit()) {
                codes["literal " + std::to_string(width)]++;
                out.push_back(uint8_t(Bits(width) + base));
            } else if (Bit()) {
                uint64_t g = Gamma();
                if (g == 2) {
                    codes["repeat"]++;
                    Copy(last, Gamma());
                    continue;
                }
                codes["match"]++;
                last = (g - 3) << index | Bits(index);
                uint64_t length = Gamma();
                length += last <= 127     ? 4
                          : last <= 638   ? 0
                          : last <= 14334 ? 1
                          : last <= 65535 ? 2
                                          : 3;
                Copy(last, length);
            } else if (!Bit()) {
                uint64_t distance = Bits(7), n = Bits(2);
                if (distance != 0) {
                    codes["short match"]++;
                    Copy(last = distance, n + 2);
                } else if (n == 0) {
                    return out;
                } else {
                    codes["index width"]++;
                    index = int(Bits(int(n) + 3));
                }
            } else {
                uint64_t v = Bits(4);
                if (v == 1) {
                    codes["zero byte"]++;
                    out.push_back(0);
                } else if (v >= 2) {
                    codes["short copy"]++;
                    Copy(v - 1, 1);
                } else if (Bit()) {
                    do {
                        codes["raw run"]++;
                        for (int k = 0; k < 256; ++k)
                            out.push_back(uint8_t(Bits(8)));
                    } while (Bit());
                } else {
                    codes["literal width"]++;
                    width = 7 + int(Bit());
                    base = width == 7 ? uint32_t(Bits(8)) : 0;
                }
            }
        }
    }
};

std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = uint8_t(seed >> 23);
    }
    return bytes;
}

std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> Text()
{
    std::string text;
    const char* words[] = {"cells ",  "drift ",    "in ",     "a ",   "dark ",   "liquid ",
                           "world, ", "wrapping ", "around ", "its ", "edges.\n"};
    uint32_t seed = 7;
    for (int k = 0; k < 3000; ++k) {
        seed = seed * 1103515245u + 12345u;
        text += words[(seed >> 16) % 11];
    }
    return Bytes(text);
}

// Records whose fields change a little: far and repeated distances, zero bytes, short copies.
std::vector<uint8_t> Records()
{
    std::vector<uint8_t> bytes;
    for (uint32_t k = 0; k < 4000; ++k) {
        for (uint8_t b : {uint8_t(k), uint8_t(0), uint8_t(k >> 8), uint8_t(0), uint8_t('R'),
                          uint8_t('E'), uint8_t('C'), uint8_t(k * 7), uint8_t(0), uint8_t(0)})
            bytes.push_back(b);
    }
    return bytes;
}

// Short pieces of a large random block, taken from far back: distances want a wide index.
std::vector<uint8_t> FarPieces()
{
    std::vector<uint8_t> bytes = RandomBytes(100000, 6), offsets = RandomBytes(6000, 7);
    for (size_t k = 0; k + 1 < offsets.size(); k += 2) {
        size_t from = (size_t(offsets[k]) << 8 | offsets[k + 1]) * 97 % 99000;
        bytes.insert(bytes.end(), bytes.begin() + long(from), bytes.begin() + long(from) + 12);
    }
    return bytes;
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<uint8_t> Decode(const std::vector<uint8_t>& block, size_t size)
{
    std::vector<uint8_t> out(size);
    EXPECT_TRUE(DecodeBlock(block.data(), block.size(), out.data(), out.size()));
    return out;
}
} // namespace

TEST(BlockEncoder, RoundTripsThroughBothDecoders)
{
    std::vector<uint8_t> noise = RandomBytes(70000, 1);
    struct Case {
        const char* name;
        std::vector<uint8_t> data;
    } cases[] = {
        {"empty", {}},
        {"one byte", {0x41}},
        {"two bytes", {0x00, 0xFF}},
        {"three bytes", {7, 7, 7}},
        {"text", Text()},
        {"random bytes", RandomBytes(5000, 2)},
        {"long runs",
         Concat({std::vector<uint8_t>(300000, 0), Bytes("x"), std::vector<uint8_t>(70000, 0xAB)})},
        {"distances of 65536 and more", Concat({noise, Bytes("--"), noise, noise})},
        {"records", Records()},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> block;
        ASSERT_TRUE(PackBlock(c.data.data(), c.data.size(), block)) << c.name;
        EXPECT_EQ(Decode(block, c.data.size()), c.data) << c.name;
        ReferenceDecoder reference{block, 0, {}, {}};
        EXPECT_EQ(reference.Run(), c.data) << c.name;
    }
}

TEST(BlockEncoder, UsesEveryCodeWhereItPays)
{
    std::vector<uint8_t> data =
        Concat({Text(), RandomBytes(3000, 3), Records(), FarPieces(), Text(), Records()});
    std::vector<uint8_t> block;
    ASSERT_TRUE(PackBlock(data.data(), data.size(), block));
    ReferenceDecoder reference{block, 0, {}, {}};
    ASSERT_EQ(reference.Run(), data);
    for (const char* code : {"literal 7", "literal 8", "literal width", "match", "repeat",
                             "short match", "short copy", "zero byte", "raw run", "index width"})
        EXPECT_GT(reference.codes[code], 0) << code;
}

TEST(BlockEncoder, CompressesTextAndRunsWell)
{
    std::vector<uint8_t> text = Text();
    std::vector<uint8_t> block;
    ASSERT_TRUE(PackBlock(text.data(), text.size(), block));
    EXPECT_LT(block.size() * 4, text.size()) << "text of eleven words shrinks fourfold";
    std::vector<uint8_t> run(1 << 20, 0x55);
    ASSERT_TRUE(PackBlock(run.data(), run.size(), block));
    EXPECT_LT(block.size(), 40u);
}

TEST(BlockEncoder, EntriesAreStoredRawUnlessCompressionShrinksThem)
{
    std::vector<uint8_t> noise = RandomBytes(1000, 5), text = Text(), pack;
    ASSERT_TRUE(AppendPackEntry(pack, noise.data(), noise.size()));
    ASSERT_TRUE(AppendPackEntry(pack, text.data(), text.size()));
    ASSERT_GE(pack.size(), 8 + noise.size() + 8);
    auto load32 = [&](size_t at) {
        return uint32_t(pack[at]) | uint32_t(pack[at + 1]) << 8 | uint32_t(pack[at + 2]) << 16 |
               uint32_t(pack[at + 3]) << 24;
    };
    EXPECT_EQ(load32(0), noise.size());
    EXPECT_EQ(load32(4), noise.size()) << "random bytes are stored as they are";
    EXPECT_TRUE(std::equal(noise.begin(), noise.end(), pack.begin() + 8));
    size_t second = 8 + noise.size();
    EXPECT_EQ(load32(second), text.size());
    EXPECT_LT(load32(second + 4), text.size());
    EXPECT_EQ(pack.size(), second + 8 + load32(second + 4));
}
