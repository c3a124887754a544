#include "runtime/runtime.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {
struct FilesTest : testing::Test {
    ScratchFolder folder;
    void TearDown() override { CloseAllFiles(); }
};

std::string Pattern(size_t length)
{
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}
} // namespace

TEST_F(FilesTest, FileSizeTellsFilesFoldersAndNothing)
{
    WriteBytes("cell/cell.ini", "abcdefghij");
    WriteBytes("empty", "");
    struct Case {
        const char* name;
        int64_t size;
    } cases[] = {{"cell\\cell.ini", 10},
                 {"cell/cell.ini", 10},
                 {"CELL\\Cell.INI", 10},
                 {"empty", 0},
                 {"cell", -2},
                 {"cell\\", -2},
                 {"Cell\\\\", -2},
                 {".", -2},
                 {"missing", -1},
                 {"cell\\missing", -1},
                 {"", -1},
                 {"cell\\*.ini", 10},
                 {"cell\\CEL?.in?", 10},
                 {"cell\\*.png", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(FileSize(c.name), c.size) << c.name;
}

TEST_F(FilesTest, RemoveFileDeletesFilesOnly)
{
    WriteBytes("Buff.buff", "1");
    std::filesystem::create_directory("folder");
    EXPECT_NE(RemoveFile("buff.BUFF"), 0);
    EXPECT_EQ(FileSize("Buff.buff"), -1);
    EXPECT_EQ(RemoveFile("Buff.buff"), 0);
    EXPECT_EQ(RemoveFile("folder"), 0);
    EXPECT_EQ(RemoveFile(""), 0);
    EXPECT_EQ(FileSize("folder"), -2);
}

TEST_F(FilesTest, WrittenBytesReachTheFileInOrder)
{
    // Small writes fill the buffer; a write that does not fit first writes the buffer out;
    // 4096 bytes or more go to the file directly.
    struct Case {
        std::vector<size_t> writes;
    } cases[] = {{{10}},
                 {{5000}},
                 {{4095}},
                 {{4096}},
                 {{3, 5000, 2}},
                 {{4000, 96, 1}},
                 {std::vector<size_t>(700, 7)},
                 {{100, 4095, 4097, 10}}};
    for (const Case& c : cases) {
        std::string expected;
        ASSERT_NE(CreateFileNumbered(0, "out.bin"), 0);
        for (size_t length : c.writes) {
            std::string piece = Pattern(length + expected.size()).substr(expected.size());
            EXPECT_EQ(WriteDataToFile(0, piece.data(), int32_t(length)), int32_t(length));
            expected += piece;
        }
        CloseFileNumbered(0);
        EXPECT_EQ(ReadBytes("out.bin"), expected) << "writes: " << c.writes.size();
    }
}

TEST_F(FilesTest, SmallWritesWaitInTheBufferLargeOnesGoStraightThrough)
{
    ASSERT_NE(CreateFileNumbered(0, "out.bin"), 0);
    std::string bytes = Pattern(9000);
    ASSERT_EQ(WriteDataToFile(0, bytes.data(), 10), 10);
    EXPECT_EQ(FileSize("out.bin"), 0);
    ASSERT_EQ(WriteDataToFile(0, bytes.data() + 10, 4086), 4086);
    EXPECT_EQ(FileSize("out.bin"), 10) << "a write that does not fit writes out the buffer";
    ASSERT_EQ(WriteDataToFile(0, bytes.data() + 4096, 4096), 4096);
    EXPECT_EQ(FileSize("out.bin"), 8192);
    ASSERT_EQ(WriteDataToFile(0, bytes.data() + 8192, 808), 808);
    EXPECT_EQ(FileSize("out.bin"), 8192);
    CloseFileNumbered(0);
    EXPECT_EQ(ReadBytes("out.bin"), bytes);
}

TEST_F(FilesTest, BytesAndWordsReadSignExtendedAndZeroPastTheEnd)
{
    WriteBytes("one", "\xC8");
    ASSERT_NE(OpenFileForReading(0, "one"), 0);
    EXPECT_EQ(ReadWordFromFile(0), 0xC8);
    EXPECT_EQ(ReadByteFromFile(0), 0);
    EXPECT_EQ(ReadWordFromFile(0), 0);

    ASSERT_NE(OpenFileForReading(0, "one"), 0);
    EXPECT_EQ(ReadByteFromFile(0), -56);

    WriteBytes("list", std::string("\x03\x34\x12\x02\xFF\xFF\x7F\x00\x80\x00", 10));
    ASSERT_NE(OpenFileForReading(0, "LIST"), 0);
    EXPECT_EQ(ReadByteFromFile(0), 3);
    EXPECT_EQ(ReadWordFromFile(0), 0x1234);
    EXPECT_EQ(ReadByteFromFile(0), 2);
    EXPECT_EQ(ReadWordFromFile(0), -1);
    EXPECT_EQ(ReadByteFromFile(0), 127);
    EXPECT_EQ(ReadWordFromFile(0), -32768);
    EXPECT_EQ(ReadByteFromFile(0), 0);
}

TEST_F(FilesTest, WordsAcrossTheBufferBoundaryReadWhole)
{
    std::string bytes = Pattern(9000);
    WriteBytes("big", bytes);
    ASSERT_NE(OpenFileForReading(3, "big"), 0);
    EXPECT_EQ(ReadByteFromFile(3), int8_t(bytes[0]));
    for (size_t at = 1; at + 1 < bytes.size(); at += 2) {
        int16_t word = int16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
        ASSERT_EQ(ReadWordFromFile(3), word) << "offset " << at;
    }
    EXPECT_EQ(ReadWordFromFile(3), uint8_t(bytes.back())) << "the last byte alone";
}

TEST_F(FilesTest, ReopeningANumberClosesTheFileThereWithItsData)
{
    ASSERT_NE(CreateFileNumbered(0, "first"), 0);
    ASSERT_EQ(WriteDataToFile(0, "\x05\x06", 2), 2);
    ASSERT_NE(OpenFileForReading(0, "first"), 0);
    EXPECT_EQ(ReadByteFromFile(0), 5);
    EXPECT_EQ(ReadByteFromFile(0), 6);

    ASSERT_NE(CreateFileNumbered(0, "second"), 0);
    ASSERT_EQ(WriteDataToFile(0, "x", 1), 1);
    EXPECT_EQ(OpenFileForReading(0, "missing"), 0);
    EXPECT_EQ(ReadBytes("second"), "x");
    EXPECT_EQ(ReadByteFromFile(0), 0);
    EXPECT_EQ(WriteDataToFile(0, "y", 1), 0);
}

TEST_F(FilesTest, BadNumbersAndArgumentsDoNothing)
{
    std::filesystem::create_directory("folder");
    WriteBytes("data", "abc");
    EXPECT_EQ(OpenFileForReading(0, "folder"), 0);
    EXPECT_EQ(CreateFileNumbered(0, "folder"), 0);
    EXPECT_EQ(CreateFileNumbered(-5, "x"), 0);
    EXPECT_EQ(ReadByteFromFile(7), 0);
    EXPECT_EQ(ReadWordFromFile(-3), 0);
    EXPECT_EQ(WriteDataToFile(7, "abc", 3), 0);
    CloseFileNumbered(7);

    ASSERT_NE(OpenFileForReading(1, "data"), 0);
    EXPECT_EQ(WriteDataToFile(1, "zz", 2), 0) << "a file opened for reading takes no data";
    ASSERT_NE(CreateFileNumbered(2, "other"), 0);
    EXPECT_EQ(WriteDataToFile(2, nullptr, 3), 0);
    EXPECT_EQ(WriteDataToFile(2, "abc", 0), 0);
    EXPECT_EQ(WriteDataToFile(2, "abc", -1), 0);
    CloseAllFiles();
    EXPECT_EQ(ReadBytes("data"), "abc");
    EXPECT_EQ(ReadBytes("other"), "");
}

TEST_F(FilesTest, NumbersBeyondTheFirstSixteenAndDynamicHandlesWork)
{
    ASSERT_NE(CreateFileNumbered(40, "forty"), 0);
    int32_t handle = CreateFileNumbered(DYNAMIC_OBJECT, "dynamic");
    ASSERT_NE(handle, 0);
    EXPECT_EQ(WriteDataToFile(40, "40", 2), 2);
    EXPECT_EQ(WriteDataToFile(handle, "dyn", 3), 3);
    CloseAllFiles();
    EXPECT_EQ(ReadBytes("forty"), "40");
    EXPECT_EQ(ReadBytes("dynamic"), "dyn");
}

TEST_F(FilesTest, UpdateWritesWhereTheReadingStopped)
{
    WriteBytes("update", "abcdef");
    ASSERT_NE(OpenFileForUpdate(0, "update"), 0);
    EXPECT_EQ(ReadWordFromFile(0), 'a' | 'b' << 8);
    EXPECT_EQ(WriteDataToFile(0, "XY", 2), 2);
    EXPECT_EQ(ReadByteFromFile(0), 'e');
    CloseFileNumbered(0);
    EXPECT_EQ(ReadBytes("update"), "abXYef");

    ASSERT_NE(OpenFileForUpdate(0, "fresh"), 0);
    CloseFileNumbered(0);
    EXPECT_EQ(FileSize("fresh"), 0);
}

TEST_F(FilesTest, CreateEmptiesAnExistingFile)
{
    WriteBytes("Buff.buff", "old contents");
    ASSERT_NE(CreateFileNumbered(0, "buff.buff"), 0);
    CloseFileNumbered(0);
    EXPECT_EQ(ReadBytes("Buff.buff"), "");
}
