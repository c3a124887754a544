// Walking a pack held in memory: each entry's framing, and unpacking it as the reader does.
#include "runtime/core/block_decoder.h"
#include "runtime/core/block_encoder.h"
#include "runtime/core/pack_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

// A pack of a raw entry ("raw") and a compressed one (a long repetitive text).
std::vector<uint8_t> TwoEntryPack(std::string& compressedText)
{
    compressedText.assign(600, 'x');
    compressedText += "tail";
    std::vector<uint8_t> pack;
    std::vector<uint8_t> raw = Bytes("raw"), packed = Bytes(compressedText);
    EXPECT_TRUE(AppendPackEntry(pack, raw.data(), raw.size()));
    EXPECT_TRUE(AppendPackEntry(pack, packed.data(), packed.size()));
    return pack;
}

std::string Unpacked(const PackEntryView& view)
{
    std::vector<uint8_t> entry(view.header.unpackedSize + 1);
    if (!UnpackPackEntry(view.header, view.stored, entry.data()))
        return "<broken>";
    return std::string(entry.begin(), entry.begin() + view.header.unpackedSize);
}
} // namespace

TEST(PackEntryInMemory, WalksEntriesWithTheirStoredSizesToTheCleanEnd)
{
    std::string text;
    std::vector<uint8_t> pack = TwoEntryPack(text);
    size_t position = 0;
    PackEntryView first = NextPackEntryInMemory(pack.data(), pack.size(), position);
    ASSERT_EQ(first.framing, PackFraming::Whole);
    EXPECT_EQ(first.offset, 0u);
    EXPECT_EQ(first.header.storedSize, 3u);
    EXPECT_EQ(Unpacked(first), "raw");
    PackEntryView second = NextPackEntryInMemory(pack.data(), pack.size(), position);
    ASSERT_EQ(second.framing, PackFraming::Whole);
    EXPECT_EQ(second.offset, 11u);
    EXPECT_EQ(second.header.unpackedSize, text.size());
    EXPECT_LT(second.header.storedSize, text.size());
    EXPECT_EQ(Unpacked(second), text);
    EXPECT_EQ(position, pack.size());
    EXPECT_EQ(NextPackEntryInMemory(pack.data(), pack.size(), position).framing, PackFraming::End);
}

TEST(PackEntryInMemory, TellsWhyTheRestCannotBeFramed)
{
    std::string text;
    std::vector<uint8_t> pack = TwoEntryPack(text);
    std::vector<uint8_t> tooLarge = {0x01, 0x00, 0x00, 0x20, 0, 0, 0, 0};
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        PackFraming framing;
    } cases[] = {
        {"cut inside the second header",
         {pack.begin(), pack.begin() + 11 + 5},
         PackFraming::CutHeader},
        {"cut inside the second entry's bytes",
         {pack.begin(), pack.end() - 1},
         PackFraming::CutStored},
        {"declares more than the largest size", tooLarge, PackFraming::TooLarge},
    };
    for (const Case& c : cases) {
        size_t position = 0;
        PackEntryView view{};
        do
            view = NextPackEntryInMemory(c.bytes.data(), c.bytes.size(), position);
        while (view.framing == PackFraming::Whole);
        EXPECT_EQ(view.framing, c.framing) << c.what;
        EXPECT_EQ(view.stored, nullptr) << c.what;
    }
}

TEST(PackEntryInMemory, CompressedEntryFailingItsCheckDoesNotUnpack)
{
    std::string text;
    std::vector<uint8_t> pack = TwoEntryPack(text);
    pack[11 + PACK_ENTRY_HEADER_SIZE + 6] ^= 1; // the block's check value
    size_t position = 11;
    PackEntryView view = NextPackEntryInMemory(pack.data(), pack.size(), position);
    ASSERT_EQ(view.framing, PackFraming::Whole);
    EXPECT_EQ(Unpacked(view), "<broken>");
}
