// The data step keeps authors' work: an own type in the folder of own types and a type
// appended to the list by hand both stay listed and load after a change under data/ makes the
// sample world again, and the author's other files stay where they are.
#include "game/data/data.h"
#include "game/data/globals.h"
#include "runtime/runtime.h"
#include "tests/scratch_folder.h"
#include "tests/tools/cellpack_run.h"
#include "tests/tools/data_checkout.h"
#include "tests/tools/frame_fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {
ProgramRun MakeData()
{
    return RunProgram("scripts/make_data.sh", {"build", "run", "stage", "mods"});
}

std::string Nnn(int32_t t)
{
    return ThreeDigitNumber(t);
}

int32_t TypeCount(const fs::path& list)
{
    std::string bytes = ReadBytes(list);
    return bytes.empty() ? 0 : int8_t(bytes[0]);
}
} // namespace

TEST(DataStep, AuthorsTypesStayListedAndLoadAfterAChangeUnderData)
{
    ScratchFolder folder;
    MakeDataCheckout();
    fs::path run = "run", cells = run / "cell";
    WriteBytes("mods/mine/definition.ini", "Name = Mine\nsize = 30|40\n");
    for (uint8_t k : {1, 2})
        WriteBytes("mods/mine/frame" + std::to_string(k) + ".png",
                   PngOf(Disc(32, {40, uint8_t(150 + 20 * k), 80, 255}, CLEAR, true), true));
    WriteBytes("mods/mine/spawn.txt", "4\n");
    ProgramRun first = MakeData();
    ASSERT_EQ(first.status, 0) << first.err;
    int32_t samples = TypeCount(cells / "cell.ini") - 1;
    ASSERT_EQ(samples, 3);
    std::string mine = ReadBytes(cells / (Nnn(samples + 1) + ".cell"));

    // The author's own files, and a type appended to the list by hand.
    WriteBytes(run / "notes.txt", "ideas");
    WriteBytes(run / "gfx/sketch.png", "a sketch");
    fs::path hand = cells / (Nnn(samples + 2) + ".cell");
    ASSERT_EQ(Cellpack({"build", hand.string(), "mods/mine/definition.ini", "mods/mine/frame1.png",
                        "--key"})
                  .status,
              0);
    ASSERT_EQ(Cellpack({"add-type", (cells / "cell.ini").string(), "3:1"}).status, 0);
    std::string handPack = ReadBytes(hand);

    // A new sample type under data/ moves the own types one number on.
    for (const char* kind : {".ini", ".recipe"})
        fs::copy("data/cells/" + Nnn(samples) + kind, "data/cells/" + Nnn(samples + 1) + kind);
    ProgramRun second = MakeData();
    ASSERT_EQ(second.status, 0) << second.err;

    ASSERT_EQ(TypeCount(cells / "cell.ini"), samples + 3) << second.err;
    EXPECT_EQ(ReadBytes(cells / (Nnn(samples + 2) + ".cell")), mine);
    EXPECT_EQ(ReadBytes(cells / (Nnn(samples + 3) + ".cell")), handPack);
    EXPECT_EQ(ReadBytes(run / "notes.txt"), "ideas");
    EXPECT_EQ(ReadBytes(run / "gfx/sketch.png"), "a sketch");
    EXPECT_NE(second.err.find("gfx/sketch.png is not made by the data step: kept as it is"),
              std::string::npos)
        << second.err;
    EXPECT_NE(second.err.find("the type you appended as " + Nnn(samples + 2) + " is now type " +
                              Nnn(samples + 3)),
              std::string::npos)
        << second.err;
    ExpectTheGameLoadsAndPlays(run);
    EXPECT_EQ(CellTypes[size_t(samples + 2)].Name, "Mine");
    EXPECT_EQ(CellTypes[size_t(samples + 2)].SpawnCount, 4);
    EXPECT_EQ(CellTypes[size_t(samples + 3)].SpawnCount, 3);
}

TEST(DataStep, AListOfAFolderMadeBeforeTheManifestIsKeptWhenItDiffers)
{
    ScratchFolder folder;
    MakeDataCheckout();
    fs::path run = "run", cells = run / "cell";
    ASSERT_EQ(MakeData().status, 0);
    std::string made = ReadBytes(cells / "cell.ini");
    int32_t samples = TypeCount(cells / "cell.ini");
    // A folder made before the data step kept its manifest, where an author appended a type.
    fs::remove(run / ".data-manifest");
    fs::remove(run / ".data-stamp");
    ASSERT_EQ(Cellpack({"add-type", (cells / "cell.ini").string(), "3:1"}).status, 0);
    fs::copy_file(cells / "001.cell", cells / (Nnn(samples + 1) + ".cell"));
    std::string authors = ReadBytes(cells / "cell.ini");

    ProgramRun again = MakeData();
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(ReadBytes(run / "kept" / "cell" / "cell.ini"), authors);
    EXPECT_NE(again.err.find("run/cell/cell.ini was not made by the data step, or was changed "
                             "since: moved to run/kept/cell/cell.ini"),
              std::string::npos)
        << again.err;
    EXPECT_EQ(ReadBytes(cells / "cell.ini"), made);

    // The same list as the data step makes is its own, manifest or not.
    fs::remove(run / ".data-manifest");
    fs::remove(run / ".data-stamp");
    ProgramRun same = MakeData();
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_FALSE(fs::exists(run / "kept" / "cell" / "cell.ini.1")) << same.err;
}
