// The preferences file among the attributes of Windows files.
#include "runtime/runtime.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
struct PreferencesOnWindows : testing::Test {
    ScratchFolder folder;
    void TearDown() override { ClosePreferences(); }
};
} // namespace

TEST_F(PreferencesOnWindows, AReadOnlyFileIsReadButNeverReplaced)
{
    WriteBytes("pref.ini", "Width = 800\r\n");
    std::filesystem::permissions("pref.ini", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    ASSERT_NE(OpenPreferences("pref.ini"), 0);
    EXPECT_EQ(ReadPreferenceLong("Width", 0), 800);
    EXPECT_NE(WritePreferenceLong("Width", 640), 0);
    ClosePreferences();
    EXPECT_EQ(ReadBytes("pref.ini"), "Width = 800\r\n");
    EXPECT_EQ(CreatePreferences("pref.ini"), 0) << "a read-only file is not created anew";
    EXPECT_EQ(CountFolderEntries(), 1) << "nothing was left beside it";
    std::filesystem::permissions("pref.ini", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST_F(PreferencesOnWindows, TheOpenFileIsReplacedWhole)
{
    WriteBytes("pref.ini", "Width = 800\r\n");
    ASSERT_NE(OpenPreferences("PREF.INI"), 0);
    EXPECT_NE(WritePreferenceLong("Height", 600), 0);
    ClosePreferences();
    EXPECT_EQ(ReadBytes("pref.ini"), "Width = 800\r\nHeight = 600\r\n");
    EXPECT_EQ(CountFolderEntries(), 1) << "no temporary file was left beside it";
}
