// The guide to making an own cell type (mods/README.md, installed as cell-types.md) works for
// both of its readers: its commands, run as they stand with frames as image editors export
// them, make a type that the game lists and loads, and a preview sheet; the definition
// template it starts from states what the checks hold every key to.
#include "game/data/data.h"
#include "game/data/globals.h"
#include "runtime/runtime.h"
#include "tests/scratch_folder.h"
#include "tests/tools/cellpack_run.h"
#include "tests/tools/data_checkout.h"
#include "tests/tools/frame_fixtures.h"
#include "tools/cellpack/definition_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {
const fs::path SOURCE = VELLOMIRA_SOURCE_DIR;

// The command blocks of the guide's section under the heading, in order.
std::vector<std::string> GuideCommands(const std::string& heading)
{
    std::string guide = ReadBytes(SOURCE / "mods/README.md");
    std::vector<std::string> blocks;
    size_t at = guide.find("\n## " + heading + "\n");
    size_t end = at == std::string::npos ? at : guide.find("\n## ", at + 1);
    while (at != std::string::npos) {
        at = guide.find("```sh\n", at);
        if (at == std::string::npos || at > end)
            break;
        at += 6;
        size_t close = guide.find("```", at);
        blocks.push_back(guide.substr(at, close - at));
        at = close + 3;
    }
    return blocks;
}

// Runs the commands with bash as a reader types them, with the home folder and the programs
// on the path given.
ProgramRun RunCommands(const std::string& commands, const fs::path& home, const fs::path& bin)
{
    return RunProgram("/usr/bin/env", {"-u", "XDG_DATA_HOME", "HOME=" + home.string(),
                                       "PATH=" + bin.string() + ":/usr/bin:/bin", "/bin/bash",
                                       "-euo", "pipefail", "-c", commands});
}

void ExpectTheOwnType(int32_t t)
{
    ASSERT_EQ(CellTypeCount, t);
    EXPECT_EQ(CellTypes[size_t(t)].Name, "My cell") << "the template's name";
    EXPECT_EQ(CellTypes[size_t(t)].SpawnCount, 200) << "the count raised for testing";
    EXPECT_EQ(CellTypes[size_t(t)].FrameCount, 3);
}
} // namespace

TEST(Guide, ItsCommandsForTheInstalledGameMakeATypeTheGameAddsAndLoads)
{
    ScratchFolder folder;
    MakeDataCheckout();
    ASSERT_EQ(RunProgram("scripts/make_data.sh", {"build", "world"}).status, 0);
    // The player's folder as the launcher prepares it: the world's list and packs, its images.
    fs::path home = folder.path / "home", player = home / ".local/share/vellomira";
    fs::create_directories(player / "cell");
    for (const fs::directory_entry& entry : fs::directory_iterator("world/cell"))
        fs::copy(entry.path(), player / "cell" / entry.path().filename());
    fs::create_directory_symlink(folder.path / "world/gfx", player / "gfx");
    // Frames as indexed-color editors save a drawing: palettes with transparency.
    for (int k = 1; k <= 3; ++k)
        WriteBytes(player / "mods/mine" / ("frame" + std::to_string(k) + ".png"),
                   PalettePngOf(Outlined(48, {200, uint8_t(80 + 30 * k), 40, 255})));
    fs::create_directories("bin");
    fs::create_symlink(fs::path(VELLOMIRA_BINARY_DIR) / "cellpack", "bin/cellpack");

    std::vector<std::string> commands = GuideCommands("With the installed game");
    ASSERT_EQ(commands.size(), 2u);
    ProgramRun run = RunCommands(commands[0], home, folder.path / "bin");
    ASSERT_EQ(run.status, 0) << commands[0] << "\n" << run.out << run.err;
    EXPECT_EQ(run.err.find("warning"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(player / "mods/mine.png").rfind("\x89PNG", 0), 0u);

    // What the launcher does at every start, before the game.
    ProgramRun added = Cellpack({"add-mods", (player / "mods").string(), player.string()});
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_NE(added.out.find("mods/mine: type 4 (004.cell, 3 frames, 200 cells)"),
              std::string::npos)
        << added.out << added.err;
    ProgramRun check = RunCommands(commands[1], home, folder.path / "bin");
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    EXPECT_NE(check.out.find("004.cell: ok, definition and 3 frames\n"), std::string::npos)
        << check.out << check.err;

    ExpectTheGameLoadsAndPlays(player);
    ExpectTheOwnType(4);
}

TEST(Guide, ItsCommandsInACheckoutMakeATypeTheGameListsAndLoads)
{
    ScratchFolder folder;
    MakeDataCheckout();
    for (int k = 1; k <= 3; ++k)
        WriteBytes("mods/mine/frame" + std::to_string(k) + ".png",
                   PngOf(Disc(48, {200, uint8_t(80 + 30 * k), 40, 255}, CLEAR, true), true));
    std::vector<std::string> commands = GuideCommands("In a source checkout");
    ASSERT_EQ(commands.size(), 1u);
    ASSERT_NE(commands[0].find("scripts/make_data.sh build run"), std::string::npos);
    ProgramRun run = RunProgram("/bin/bash", {"-euo", "pipefail", "-c", commands[0]});
    ASSERT_EQ(run.status, 0) << commands[0] << "\n" << run.out << run.err;
    EXPECT_EQ(run.err.find("warning"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("mods/mine: type 4 (004.cell, 3 frames, 200 cells)"), std::string::npos)
        << run.err;
    EXPECT_EQ(ReadBytes("build/mine.png").rfind("\x89PNG", 0), 0u);

    ExpectTheGameLoadsAndPlays("run");
    ExpectTheOwnType(4);
}

TEST(Guide, TheTemplateStatesTheValuesOfEveryKeyAndPassesTheChecks)
{
    ScratchFolder folder;
    std::string text = ReadBytes(SOURCE / "mods/definition-template.ini");
    ProgramRun printed = Cellpack({"template"});
    EXPECT_EQ(printed.status, 0);
    EXPECT_EQ(printed.out, text) << "'cellpack template' prints the installed template";

    // Each key's paragraph: its comment, then its line (commented out when its default is
    // another key's text).
    std::vector<std::pair<std::string, std::string>> paragraphs; // comment, key lines
    std::istringstream lines(text);
    paragraphs.emplace_back();
    for (std::string line; std::getline(lines, line);) {
        if (line.empty())
            paragraphs.emplace_back();
        else if (line.find(" = ") != std::string::npos)
            paragraphs.back().second += line.substr(line[0] == ';') + "\n";
        else if (line.rfind("; ", 0) == 0)
            paragraphs.back().first += line.substr(2) + " ";
    }
    for (const CellDefinitionKey& key : CELL_DEFINITION_KEYS) {
        std::string name = key.name;
        auto paragraph = std::find_if(paragraphs.begin(), paragraphs.end(), [&](const auto& p) {
            return ("\n" + p.second).find("\n" + name + " = ") != std::string::npos;
        });
        ASSERT_NE(paragraph, paragraphs.end()) << name << " is missing";
        EXPECT_NE(paragraph->first.find(MeaningfulValues(key.name)), std::string::npos)
            << name << ": " << MeaningfulValues(key.name) << "\n"
            << paragraph->first;
    }

    WriteBytes("definition.ini", text);
    WriteBytes("frame.png", PngOf(Disc(16, {40, 200, 80, 255}, KEY_COLOR, false), false));
    ProgramRun build = Cellpack({"build", "001.cell", "definition.ini", "frame.png"});
    EXPECT_EQ(build.status, 0);
    EXPECT_EQ(build.err, "") << "the template's values all have a meaning";
}
