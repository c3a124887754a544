// Files where the game's Windows-style names meet a file system that tells letter case apart
// and has no drives.
#include "runtime/platform/system.h"
#include "runtime/runtime.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
struct FilesOnPosix : testing::Test {
    ScratchFolder folder;
    void TearDown() override { CloseAllFiles(); }
};
} // namespace

TEST_F(FilesOnPosix, DriveNamesReferToNothing)
{
    WriteBytes("cell/cell.ini", "abcdefghij");
    for (const char* name : {"C:", "c:\\", "C:\\cell\\cell.ini", "C:cell\\cell.ini"})
        EXPECT_EQ(FileSize(name), -1) << name;
    EXPECT_EQ(CreateFileNumbered(0, "C:\\x"), 0);
}

TEST_F(FilesOnPosix, NamesResolveWithEitherSeparatorAndAnyLetterCase)
{
    WriteBytes("Gfx/Blase1.png", "x");
    WriteBytes("gfx2/a", "y");
    struct Case {
        const char* name;
        const char* path;
    } cases[] = {{"gfx\\blase1.PNG", "Gfx/Blase1.png"},
                 {"GFX/new.png", "Gfx/new.png"},
                 {"nowhere\\Blase1.png", "nowhere/Blase1.png"},
                 {"gfx2\\A", "gfx2/a"},
                 {"./GFX2/a", "./gfx2/a"},
                 {"Z:\\gfx2\\a", ""},
                 {"", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(SystemResolvePath(c.name), c.path) << c.name;
}

TEST_F(FilesOnPosix, APipeWithoutAWriterNeverBlocks)
{
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    ASSERT_NE(OpenFileForReading(0, "pipe"), 0);
    EXPECT_EQ(ReadWordFromFile(0), 0);
    EXPECT_NE(OpenPreferences("pipe"), 0);
    EXPECT_EQ(ReadPreferenceLong("k", 3), 3);
    ClosePreferences();
}
