// Files where the game's names are the system's own: drives, full paths and any letter case
// go to Windows as they are.
#include "runtime/platform/system.h"
#include "runtime/runtime.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {
struct FilesOnWindows : testing::Test {
    ScratchFolder folder;
    void TearDown() override { CloseAllFiles(); }
};

// A drive letter no drive has, as "Q:"; empty when every letter is taken.
std::string UnusedDrive()
{
    DWORD drives = GetLogicalDrives();
    for (int letter = 25; letter >= 3; --letter)
        if (!(drives & (1u << letter)))
            return std::string(1, char('A' + letter)) + ":";
    return "";
}
} // namespace

TEST_F(FilesOnWindows, NamesGoToTheSystemAsTheyAre)
{
    struct Case {
        std::string name;
        std::string path;
    } cases[] = {{"gfx\\blase1.PNG", "gfx\\blase1.PNG"},
                 {"C:\\cell\\cell.ini", "C:\\cell\\cell.ini"},
                 {"cell/cell.ini", "cell/cell.ini"},
                 {std::string("pref.ini\0junk", 13), "pref.ini"},
                 {"", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(SystemResolvePath(c.name), c.path) << c.name;
}

TEST_F(FilesOnWindows, DrivesAreFoldersAndFullNamesReachTheirFiles)
{
    WriteBytes("cell/cell.ini", "abcdefghij");
    EXPECT_EQ(FileSize("C:"), -2);
    EXPECT_EQ(FileSize("c:\\"), -2);
    std::string unused = UnusedDrive();
    ASSERT_FALSE(unused.empty());
    EXPECT_EQ(FileSize(unused), -1) << unused;
    EXPECT_EQ(FileSize(unused + "\\"), -1) << unused;

    std::string here = SystemWorkingFolder();
    ASSERT_FALSE(here.empty());
    EXPECT_EQ(FileSize(here + "\\CELL\\Cell.ini"), 10);
    ASSERT_NE(CreateFileNumbered(0, here + "\\cell\\new.bin"), 0);
    EXPECT_EQ(WriteDataToFile(0, "\n\r\n\x1A", 4), 4);
    CloseFileNumbered(0);
    EXPECT_EQ(ReadBytes("cell/new.bin"), "\n\r\n\x1A") << "bytes pass unchanged";
}
