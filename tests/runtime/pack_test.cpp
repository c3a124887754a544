#include "runtime/core/block_encoder.h"
#include "runtime/core/pack.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {
// A pack file made by the test in a folder of its own, removed afterwards. The folder is new
// for every run: a name made only from the test's name is shared by every run of the same test
// on the machine at once (another build tree, another checkout), and one run's removal or
// rewrite of the file breaks the other's reads.
class PackFile : public ::testing::Test {
protected:
    ScratchFolder scratch;
    std::filesystem::path folder = scratch.path;
    void TearDown() override { ClosePack(); }
    std::string Write(const std::vector<uint8_t>& bytes)
    {
        std::string name = (folder / "test.cell").string();
        std::ofstream(name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return name;
    }
    // The entries NextPackEntry yields until none.
    std::vector<std::string> ReadAll(const std::string& name)
    {
        std::vector<std::string> entries;
        EXPECT_EQ(OpenPack(name.c_str()), 1);
        while (const uint8_t* entry = NextPackEntry())
            entries.emplace_back(reinterpret_cast<const char*>(entry), size_t(PackEntrySize()));
        EXPECT_EQ(PackEntrySize(), -1);
        return entries;
    }
};

std::vector<uint8_t> Entry(uint32_t unpacked, uint32_t stored, const std::string& bytes)
{
    std::vector<uint8_t> entry;
    for (uint32_t value : {unpacked, stored})
        for (int k = 0; k < 4; ++k)
            entry.push_back(uint8_t(value >> (8 * k)));
    entry.insert(entry.end(), bytes.begin(), bytes.end());
    return entry;
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::string KnownBlock("ZQ\x06\0\0\0\x81\x8D\x8D\x8D\x40\x68\xD0\x20\0\0\0\x0C", 18);
} // namespace

TEST_F(PackFile, EntriesComeInOrderThenNone)
{
    std::string text(2000, 't');
    std::vector<uint8_t> pack;
    AppendPackEntry(pack, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    pack = Concat({pack, Entry(6, 18, KnownBlock), Entry(18, 18, KnownBlock), Entry(0, 0, "")});
    std::vector<std::string> entries = ReadAll(Write(pack));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], text);
    EXPECT_EQ(entries[1], "ABBBBB");
    EXPECT_EQ(entries[2], KnownBlock) << "stored size equal to unpacked size: stored as is";
    EXPECT_EQ(entries[3], "");
    EXPECT_EQ(PackEndReached(), 1);
    EXPECT_EQ(NextPackEntry(), nullptr) << "still none after the end";
}

TEST_F(PackFile, BrokenEntriesYieldNone)
{
    std::string badCheck = KnownBlock;
    badCheck[7] ^= 1;
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        size_t good; // entries read before none
    } cases[] = {
        {"check value fails", Concat({Entry(6, 18, badCheck), Entry(2, 2, "ok")}), 0},
        {"stored size beyond the file", Concat({Entry(2, 2, "ok"), Entry(6, 1000, KnownBlock)}), 1},
        {"unpacked size above 256 MiB", Entry(0x10000001, 18, KnownBlock), 0},
        {"block and entry disagree on the size", Entry(7, 18, KnownBlock), 0},
        {"header cut short", Concat({Entry(2, 2, "ok"), {1, 0, 0}}), 1},
        {"block without the magic", Entry(6, 18, "XQ" + KnownBlock.substr(2)), 0},
    };
    for (const Case& c : cases) {
        std::vector<std::string> entries = ReadAll(Write(c.bytes));
        EXPECT_EQ(entries.size(), c.good) << c.name;
        EXPECT_EQ(PackEndReached(), 0) << c.name << ": a broken entry is no clean end";
    }
    ASSERT_EQ(OpenPack(Write(cases[0].bytes).c_str()), 1);
    EXPECT_EQ(NextPackEntry(), nullptr);
    ASSERT_NE(NextPackEntry(), nullptr) << "the entry after a corrupt one is still framed";
    EXPECT_EQ(PackEntrySize(), 2);
}

TEST_F(PackFile, EveryTruncationIsSafe)
{
    std::string text = "Name=Zelle\r\nsize=32|48\r\n";
    for (int k = 0; k < 40; ++k)
        text += "trans=160|170\r\n";
    std::vector<uint8_t> pack;
    AppendPackEntry(pack, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    pack = Concat({pack, Entry(6, 18, KnownBlock)});
    size_t firstEnd = pack.size() - 26;
    for (size_t cut = 0; cut <= pack.size(); ++cut) {
        std::vector<uint8_t> shorter(pack.begin(), pack.begin() + long(cut));
        std::vector<std::string> entries = ReadAll(Write(shorter));
        size_t expected = cut < firstEnd ? 0 : cut < pack.size() ? 1 : 2;
        ASSERT_EQ(entries.size(), expected) << "cut at " << cut;
        if (expected > 0) {
            EXPECT_EQ(entries[0], text);
        }
    }
}

TEST_F(PackFile, OpeningAndClosing)
{
    EXPECT_EQ(OpenPack(nullptr), 0);
    EXPECT_EQ(OpenPack(""), 0);
    EXPECT_EQ(OpenPack((folder / "missing.cell").string().c_str()), 0);
    EXPECT_EQ(NextPackEntry(), nullptr) << "no pack open";
    EXPECT_EQ(PackEntrySize(), -1);
    std::string name = Write(Entry(2, 2, "ok"));
    std::string windowsName = name;
    windowsName[windowsName.rfind('/')] = '\\';
    ASSERT_EQ(OpenPack(windowsName.c_str()), 1) << "a backslash separates folders";
    ASSERT_NE(NextPackEntry(), nullptr);
    EXPECT_EQ(PackEntrySize(), 2);
    ClosePack();
    EXPECT_EQ(PackEntrySize(), -1);
    EXPECT_EQ(NextPackEntry(), nullptr);
    EXPECT_EQ(OpenPack(folder.string().c_str()), 0) << "a folder is no pack";
}
