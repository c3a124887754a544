// Changing several files all together or not at all, in the program's own process on each
// system: the new contents written beside, the replaced files kept by a second name (a hard
// link, on Windows too) until every rename is done, and a failed change undoing the others.
// Names hold letters beyond ASCII, which Windows takes only through its UTF-16 calls.
#include "runtime/platform/utf8_path.h"
#include "tests/scratch_folder.h"
#include "tools/cellpack/file_bytes.h"
#include "tools/cellpack/file_transaction.h"

#include <gtest/gtest.h>

#include <set>

namespace fs = std::filesystem;

namespace {
std::vector<uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::set<std::string> Entries()
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator("."))
        names.insert(Utf8Name(entry.path().filename()));
    return names;
}

// Three files: one replaced, one made, one removed; then the change of the case.
std::vector<FileChange> Changes(const std::string& last)
{
    WriteBytes(Utf8Path("Blüte.cell"), "old pack");
    WriteBytes(Utf8Path("gone.cell"), "removed");
    return {{"Blüte.cell", Bytes("new pack")}, {"Иван.ini", Bytes("new list")}, {last, {}, true}};
}
} // namespace

TEST(ChangeFiles, ReplacesMakesAndRemovesLeavingNothingBeside)
{
    ScratchFolder scratch;
    ASSERT_EQ(ChangeFiles(Changes("gone.cell")), "");
    EXPECT_EQ(ReadBytes(Utf8Path("Blüte.cell")), "new pack");
    EXPECT_EQ(ReadBytes(Utf8Path("Иван.ini")), "new list");
    EXPECT_EQ(Entries(), (std::set<std::string>{"Blüte.cell", "Иван.ini"}));
}

TEST(ChangeFiles, AFailedRenameUndoesTheChangesMadeBeforeIt)
{
    ScratchFolder scratch;
    // Removing a file that is not there fails after the others are in place.
    std::string problem = ChangeFiles(Changes("never there.cell"));
    EXPECT_EQ(problem.rfind("never there.cell: cannot remove: ", 0), 0u) << problem;
    EXPECT_EQ(ReadBytes(Utf8Path("Blüte.cell")), "old pack");
    EXPECT_EQ(ReadBytes("gone.cell"), "removed");
    EXPECT_EQ(Entries(), (std::set<std::string>{"Blüte.cell", "gone.cell"}));
}

TEST(ChangeFiles, AFailedWriteChangesNothing)
{
    ScratchFolder scratch;
    std::vector<FileChange> changes = Changes("gone.cell");
    changes.push_back({"no such folder/x.cell", Bytes("x")});
    std::string problem = ChangeFiles(changes);
    EXPECT_NE(problem.find("no such folder"), std::string::npos) << problem;
    EXPECT_EQ(ReadBytes(Utf8Path("Blüte.cell")), "old pack");
    EXPECT_EQ(Entries(), (std::set<std::string>{"Blüte.cell", "gone.cell"}));
}

TEST(WriteFileBytes, ReplacesAFileOfANameBeyondAscii)
{
    ScratchFolder scratch;
    WriteBytes(Utf8Path("Zelle für José.ini"), "old");
    ASSERT_EQ(WriteFileBytes("Zelle für José.ini", Bytes("new")), "");
    std::vector<uint8_t> read;
    ASSERT_EQ(ReadFileBytes("Zelle für José.ini", read), "");
    EXPECT_EQ(read, Bytes("new"));
    EXPECT_EQ(Entries(), (std::set<std::string>{"Zelle für José.ini"}));
}
