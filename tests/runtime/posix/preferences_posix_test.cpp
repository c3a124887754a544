// The preferences file among the permissions, links and drives of a POSIX system.
#include "runtime/runtime.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {
struct PreferencesOnPosix : testing::Test {
    ScratchFolder folder;
    void TearDown() override { ClosePreferences(); }
};

// Runs the code in a child process that cannot override file permissions (root runs it as
// nobody); the child's exit status, or -1.
int RunUnprivileged(void (*code)())
{
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(90);
        code();
        _exit(0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
} // namespace

TEST_F(PreferencesOnPosix, ADriveNameTakesNoFile)
{
    EXPECT_EQ(CreatePreferences("C:\\pref.ini"), 0);
    EXPECT_EQ(OpenPreferences("C:\\pref.ini"), 0);
    EXPECT_NE(WritePreferenceLong("a", 1), 0);
    ClosePreferences();
    EXPECT_EQ(CountFolderEntries(), 0);
}

TEST_F(PreferencesOnPosix, AFileThatRefusedTheOpenIsNeverReplaced)
{
    // A world-writable folder, and in it a file that the user may not open.
    std::filesystem::permissions(".", std::filesystem::perms::all);
    WriteBytes("pref.ini", "Width = 800\r\nHeight = 600\r\n");
    std::filesystem::permissions("pref.ini", std::filesystem::perms::none);
    int status = RunUnprivileged([] {
        if (OpenPreferences("pref.ini") != 0)
            _exit(2); // the open was not refused: this user overrides permissions
        if (WritePreferenceLong("Depth", 16) == 0)
            _exit(3);
        ClosePreferences();
    });
    ASSERT_EQ(status, 0);
    std::filesystem::permissions("pref.ini", std::filesystem::perms::owner_read);
    EXPECT_EQ(ReadBytes("pref.ini"), "Width = 800\r\nHeight = 600\r\n");
    EXPECT_EQ(CountFolderEntries(), 1) << "nothing was left beside it";
}

TEST_F(PreferencesOnPosix, WriteBackKeepsTheFileModeAndLinks)
{
    WriteBytes("real.ini", "k = 1\n");
    std::filesystem::permissions("real.ini", std::filesystem::perms(0640));
    std::filesystem::create_symlink("real.ini", "pref.ini");
    ASSERT_NE(OpenPreferences("pref.ini"), 0);
    EXPECT_NE(WritePreferenceLong("k", 2), 0);
    ClosePreferences();
    EXPECT_TRUE(std::filesystem::is_symlink("pref.ini"));
    EXPECT_EQ(ReadBytes("real.ini"), "k = 2\r\n");
    EXPECT_EQ(std::filesystem::status("real.ini").permissions(), std::filesystem::perms(0640));
}
