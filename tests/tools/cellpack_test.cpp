// The cellpack command: packs built, listed and extracted byte for byte, the check's report of
// every kind of problem, the cell type list written and read, and its command-line manners.
#include "tests/runtime/image_fixtures.h"
#include "tests/scratch_folder.h"
#include "tests/tools/cellpack_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {
std::string Text(const Bytes& bytes)
{
    return {bytes.begin(), bytes.end()};
}

// A 16 x 16 PNG frame whose colors depend on the seed.
std::string Frame(int seed)
{
    PngDescription png;
    png.width = png.height = 16;
    for (int i = 0; i < 16 * 16 * 3; ++i)
        png.samples.push_back(uint32_t((i * seed) % 7 * 30));
    return Text(MakePng(png));
}

std::string Jpeg()
{
    std::vector<uint8_t> grey(8 * 8);
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = uint8_t(i * 4);
    return Text(MakeJpeg(8, 8, 1, grey, 90));
}

// A definition that uses every kind of value and compresses well.
const char* const SOUND_DEFINITION =
    "; A sound definition: comments, every kind of key, a group line at the end.\r\n"
    "Name = Probe\r\nType = 1\r\nFRONT = 1\r\nsize = 10|16\r\nangle_s = 0.1|0.2\r\n"
    "norm_movespeed = 1.5 | 2\r\ntrans = 150|190\r\ncolor = 16777215\r\n[notes]\r\n"
    "; Only comments follow the group line, so nothing is lost.\r\n";

// Writes the definition and frames (frame001.png ...) and builds NNN.cell of them, even when
// build finds errors, so that check can be shown them; the result of the build.
ProgramRun BuildPack(const std::string& pack, const std::string& definition,
                     const std::vector<std::string>& frames)
{
    WriteBytes("in/definition.ini", definition);
    std::vector<std::string> arguments{"build", "--force", pack, "in/definition.ini"};
    for (size_t k = 0; k < frames.size(); ++k) {
        arguments.push_back("in/frame" + std::to_string(k + 1) + ".img");
        WriteBytes(arguments.back(), frames[k]);
    }
    return Cellpack(arguments);
}
} // namespace

TEST(Cellpack, BuildListExtractRoundTripIsByteExact)
{
    ScratchFolder folder;
    std::string frames[] = {Frame(3), Jpeg()};
    ASSERT_EQ(BuildPack("001.cell", SOUND_DEFINITION, {frames[0], frames[1]}).status, 0);

    ProgramRun list = Cellpack({"list", "001.cell"});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("    1 "), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("compressed  0x"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("3 entries"), std::string::npos) << list.out;

    ProgramRun extract = Cellpack({"extract", "001.cell", "out"});
    ASSERT_EQ(extract.status, 0) << extract.err;
    EXPECT_EQ(ReadBytes("out/definition.ini"), SOUND_DEFINITION);
    EXPECT_EQ(ReadBytes("out/frame001.png"), frames[0]);
    EXPECT_EQ(ReadBytes("out/frame002.jpg"), frames[1]);

    ASSERT_EQ(Cellpack({"build", "again.cell", "out/definition.ini", "out/frame001.png",
                        "out/frame002.jpg"})
                  .status,
              0);
    EXPECT_EQ(ReadBytes("again.cell"), ReadBytes("001.cell"));
}

TEST(Cellpack, CheckPassesASoundPackAgainstTheList)
{
    ScratchFolder folder;
    ASSERT_EQ(BuildPack("001.cell", SOUND_DEFINITION, {Frame(3)}).status, 0);
    ASSERT_EQ(BuildPack("002.cell", SOUND_DEFINITION, {Frame(1), Frame(2), Jpeg()}).status, 0);
    ASSERT_EQ(Cellpack({"write-types", "cell.ini", "5:1", "12:3"}).status, 0);
    for (std::vector<std::string> arguments :
         {std::vector<std::string>{"check", "002.cell"},
          {"check", "--list", "cell.ini", "002.cell"},
          {"check", "--list=cell.ini", "--type", "2", "002.cell"}}) {
        ProgramRun check = Cellpack(arguments);
        EXPECT_EQ(check.status, 0) << arguments.size() << check.err;
        EXPECT_EQ(check.out, "002.cell: ok, definition and 3 frames\n");
        EXPECT_EQ(check.err, "");
    }
}

TEST(Cellpack, CheckReportsEveryProblemWithItsEntryAndKey)
{
    using Edit = std::function<void(std::string&)>;
    auto flipCheckValue = [](std::string& pack) { pack[8 + 6] ^= 0x20; };
    auto cutLastByte = [](std::string& pack) { pack.pop_back(); };
    std::vector<std::string> two{Frame(1), Frame(2)};
    struct Case {
        const char* what;
        std::string definition;
        std::vector<std::string> frames;
        int listFrames; // the list's frame count for type 1; -1: check without the list
        Edit edit;
        std::vector<std::string> reports;
    } cases[] = {
        {"unknown key",
         "Name = X\nsise = 10|16\n",
         two,
         -1,
         nullptr,
         {"entry 1 (definition), line 2, key \"sise\": unknown key; the game never reads it "
          "(did you mean \"size\"?)"}},
        {"reversed ranges, integer and decimal",
         "trans = 170|160\nangle_s = 0.3|0.2\n",
         two,
         -1,
         nullptr,
         {"line 1, key \"trans\": \"170|160\" is reversed",
          "line 2, key \"angle_s\": \"0.3|0.2\" is reversed"}},
        {"malformed ranges",
         "size = 10.5|12\nmentionradius = 2\naccelaration = 0.1|x|3\n",
         two,
         -1,
         nullptr,
         {"key \"size\": \"10.5|12\": \"10.5\" is not a whole number",
          "key \"mentionradius\": \"2\" has no bar",
          "key \"accelaration\": \"0.1|x|3\" has more than one bar"}},
        {"key after a group line and a repeated key",
         "size = 8|9\nSIZE = 9|10\n[later]\ntrans = 1|2\n",
         two,
         -1,
         nullptr,
         {"line 2, key \"SIZE\": repeats the key of line 1",
          "line 4, key \"trans\": stands after the group line [later] (line 3)"}},
        {"frame no decoder reads",
         "Name = X\n",
         {Frame(1), "not an image"},
         -1,
         nullptr,
         {"entry 3 (frame 2): not an image that the registered decoders (PNG, JPEG) read"}},
        {"cut PNG frame",
         "Name = X\n",
         {Frame(1).substr(0, 60)},
         -1,
         nullptr,
         {"entry 2 (frame 1): a broken PNG image"}},
        {"too many frames",
         "Name = X\n",
         std::vector<std::string>(101, Frame(1)),
         -1,
         nullptr,
         {"frames: 101 frames are more than the 100 of the game's frame table (the game enlarges"}},
        {"fewer frames than the list",
         "Name = X\n",
         two,
         3,
         nullptr,
         {"frames: cell.ini gives type 1 a frame count of 3 but the pack holds only 2"}},
        {"corrupt entry",
         SOUND_DEFINITION,
         two,
         2,
         flipCheckValue,
         {"entry 1 (definition): it fails its check value: the block says 0x*, the data gives "
          "0x"}},
        {"block without its magic",
         SOUND_DEFINITION,
         two,
         2,
         [](std::string& pack) { pack[8] = 'X'; },
         {"entry 1 (definition): its stored size differs from its size but it holds no "
          "compressed block"}},
        {"block of another size than its entry",
         SOUND_DEFINITION,
         two,
         2,
         [](std::string& pack) { pack[8 + 2] ^= 1; },
         {"entry 1 (definition): its block declares * bytes, the entry *"}},
        {"malformed stream",
         SOUND_DEFINITION,
         two,
         2,
         [](std::string& pack) { pack.replace(8 + 10, 4, 4, '\xFF'); },
         {"entry 1 (definition): its compressed stream is malformed (it does not decode to "}},
        {"truncated file",
         "Name = X\n",
         two,
         2,
         cutLastByte,
         {"entry 3 (frame 2): the * bytes at offset * stored bytes (truncated file)",
          "frames: cell.ini gives type 1 a frame count of 2 but the pack holds only 1"}},
        {"empty pack",
         "",
         {},
         1,
         [](std::string& pack) { pack.clear(); },
         {"the pack holds no entry",
          "frames: cell.ini gives type 1 a frame count of 1 but the pack holds only 0"}},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        ASSERT_EQ(BuildPack("001.cell", c.definition, c.frames).status, 0) << c.what;
        if (c.edit) {
            std::string pack = ReadBytes("001.cell");
            c.edit(pack);
            WriteBytes("001.cell", pack);
        }
        std::vector<std::string> arguments{"check", "001.cell"};
        if (c.listFrames >= 0) {
            ASSERT_EQ(
                Cellpack({"write-types", "cell.ini", "4:" + std::to_string(c.listFrames)}).status,
                0);
            arguments.insert(arguments.begin() + 1, {"--list", "cell.ini"});
        }
        ProgramRun check = Cellpack(arguments);
        EXPECT_EQ(check.status, 1) << c.what;
        EXPECT_EQ(check.out, "") << c.what;
        std::vector<std::string> lines = Lines(check.err);
        ASSERT_EQ(lines.size(), c.reports.size()) << c.what << "\n" << check.err;
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].rfind("001.cell: ", 0), 0u) << lines[i];
            EXPECT_TRUE(Matches(lines[i], c.reports[i])) << c.what << "\n" << lines[i];
        }
    }
}

TEST(Cellpack, ValuesTheGameGivesNoMeaningToAreWarnedOfOrRefused)
{
    const char* const MEANS = "\": the game gives meaning to ";
    struct Case {
        const char* line;
        bool refused; // else a warning: the game plays it as another value
        std::string report;
    } cases[] = {
        {"trans = 300|400", true,
         "\"300|400\": the game gives meaning to 0 (invisible) to 255 (solid); the game keeps "
         "only the low 8 bits, so 300 is taken as 44 and 400 as 144"},
        {"trans = -1|10", true, "\"-1|10*, so -1 is taken as 255"},
        {"Type = 7", false,
         std::string("\"7") + MEANS +
             "0 (ignores the player), 1 (flees from it) or 2 (chases it); any other value "
             "ignores the player, as 0 does"},
        {"Type = 257", true, "\"257*the game keeps only the low 8 bits, so 257 is taken as 1"},
        {"Front = 5", false, "\"5*any other value means no front, as 0 does"},
        {"AniType = 9", false, "\"9*any other value loops the frames, as 1 does"},
        {"mentionradius = -5|-1", false,
         std::string("\"-5|-1") + MEANS +
             "0 or more times the cell's size; the cell never notices the player, as with 0"},
        {"size = 0|10", true, "\"0|10*1 to 32767 pixels; a cell of no size is never seen"},
        {"size = 20|40000", true, "\"20|40000*16 bits, so 40000 is taken as -25536"},
        {"accelaration = -0.1|0.1", true, "*speeds up backward without end"},
        {"idle_anispeed = -0.02|0.01", false, "*runs back before its first frame and stays there"},
        {"norm_angle_s = 0|400", false, "*the heading is set back to 0 at every frame"},
        {"flew_movespeed = -1|-1", false, "*the cell never swims, as with 0"},
        {"hp = 40000", false, "*so 40000 is taken as -25536; no rule of the game reads it yet"},
        {"color = -1", false, "*it is no colour; no rule of the game reads it yet"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        std::string definition = "Name = X\n" + std::string(c.line) + "\n";
        std::string key = std::string(c.line).substr(0, std::string(c.line).find(' '));
        std::string place = "line 2, key \"" + key + "\": " + (c.refused ? "" : "warning: ");
        ProgramRun build = BuildPack("001.cell", definition, {Frame(1)});
        ProgramRun check = Cellpack({"check", "001.cell"});
        EXPECT_EQ(check.status, c.refused ? 1 : 0) << c.line << "\n" << check.err;
        ASSERT_GE(Lines(check.err).size(), 1u) << c.line;
        EXPECT_TRUE(
            Matches(Lines(check.err)[0], "001.cell: entry 1 (definition), " + place + c.report))
            << c.line << "\n"
            << check.err;
        EXPECT_EQ(check.out, c.refused ? "" : "001.cell: ok, definition and 1 frame, 1 warning\n");
        ProgramRun strict =
            Cellpack({"build", "strict.cell", "in/definition.ini", "in/frame1.img"});
        EXPECT_EQ(strict.status, c.refused ? 1 : 0) << c.line;
        EXPECT_TRUE(
            Matches(Lines(strict.err)[0], "cellpack: in/definition.ini, " + place + c.report))
            << strict.err;
    }
    ScratchFolder folder;
    ASSERT_EQ(BuildPack("001.cell",
                        "Type = 2\nFront = 2\nAniType = 1\nsize = 1|32767\nangle_s = 0|360\n"
                        "mentionradius = 0|0\ntrans = 0|255\ncolor = 16777215\nhp = -32768\n",
                        {Frame(1)})
                  .err,
              "")
        << "the edges of what the game gives meaning to";
}

TEST(Cellpack, CellListWritesReadsAndWritesAgainFromItsText)
{
    ScratchFolder folder;
    ASSERT_EQ(Cellpack({"write-types", "cell.ini", "90:2", "300:100", "0:0"}).status, 0);
    EXPECT_EQ(ReadBytes("cell.ini"), std::string("\x03"
                                                 "\x5a\x00\x02"
                                                 "\x2c\x01\x64"
                                                 "\x00\x00\x00",
                                                 10));
    ProgramRun types = Cellpack({"types", "cell.ini"});
    ASSERT_EQ(types.status, 0) << types.err;
    EXPECT_NE(types.out.find("\n300 100  # 002\n"), std::string::npos) << types.out;
    ProgramRun again = Cellpack({"write-types", "again.ini", "--from", "-"}, types.out);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(ReadBytes("again.ini"), ReadBytes("cell.ini"));
    ASSERT_EQ(Cellpack({"write-types", "none.ini"}).status, 0);
    EXPECT_EQ(ReadBytes("none.ini"), std::string(1, '\0'));
}

TEST(Cellpack, CellListRefusesNumbersOutsideItsFieldsAndReportsShortFiles)
{
    ScratchFolder folder;
    WriteBytes("short.ini", std::string("\x02\x05\x00\x01\x07", 5));
    WriteBytes("bad.txt", "4 1\n5 x\n");
    std::vector<std::string> tooMany{"write-types", "many.ini"};
    tooMany.resize(2 + 128, "1:1");
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string report;
    } cases[] = {
        {{"write-types", "c.ini", "1:128"},
         2,
         "frame count \"128\" is not a whole number from 0 to 127"},
        {{"write-types", "c.ini", "32768:1"},
         2,
         "spawn count \"32768\" is not a whole number from 0 to 32767"},
        {{"write-types", "c.ini", "-1:1"}, 2, "spawn count \"-1\""},
        {{"write-types", "c.ini", "12"}, 2, "\"12\" is not SPAWN:FRAMES"},
        {tooMany, 2, "128 types are more than the 127 a list holds"},
        {{"write-types", "c.ini", "--from", "bad.txt"}, 1, "bad.txt: line 2: frame count \"x\""},
        {{"write-types", "c.ini", "--from", "bad.txt", "1:1"}, 2, "not both"},
        {{"types", "short.ini"}, 1, "short.ini: the file has 5 bytes but its 2 types need 7"},
        {{"types", "absent.ini"}, 1, "absent.ini: cannot read"},
    };
    for (const Case& c : cases) {
        ProgramRun run = Cellpack(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.report;
        EXPECT_NE(run.err.find(c.report), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadBytes("c.ini"), "<missing>");
    EXPECT_EQ(
        Cellpack({"types", "short.ini"}).out,
        "# 2 cell types, one a line: spawn count, frame count  # type\n5 1  # 001\n7 0  # 002\n");
}

TEST(Cellpack, HelpGoesToOutputAndUsageErrorsExitWithTwo)
{
    ScratchFolder folder;
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string out, err;
    } cases[] = {
        {{"--help"}, 0, "usage: cellpack COMMAND", ""},
        {{"help", "extract"}, 0, "usage: cellpack extract PACK FOLDER", ""},
        {{"check", "--help"}, 0, "usage: cellpack check", ""},
        {{}, 2, "", "usage: cellpack COMMAND"},
        {{"unpack", "x.cell"}, 2, "", "cellpack: unknown command 'unpack'"},
        {{"build", "x.cell"}, 2, "", "cellpack build: expected the pack to write"},
        {{"list", "--verbose", "x.cell"}, 2, "", "cellpack list: unknown option --verbose"},
        {{"check", "--type", "1", "x.cell"}, 2, "", "--type needs --list"},
        {{"list", "absent.cell"}, 1, "", "cellpack: absent.cell: cannot read"},
        {{"build", "x.cell", "absent.ini"}, 1, "", "cellpack: absent.ini: cannot read"},
    };
    for (const Case& c : cases) {
        ProgramRun run = Cellpack(c.arguments);
        std::string name = c.arguments.empty() ? "(none)" : c.arguments[0];
        EXPECT_EQ(run.status, c.status) << name;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << name << ": " << run.out;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << name << ": " << run.err;
        EXPECT_TRUE(c.status == 0 ? run.err.empty() : run.out.empty()) << name;
    }
    EXPECT_EQ(ReadBytes("x.cell"), "<missing>");
}

TEST(Cellpack, WriteTypesFromTextReportsEveryBadLineAndWritesNothing)
{
    ScratchFolder folder;
    ProgramRun run =
        Cellpack({"write-types", "c.ini", "--from", "-"}, "4 1\n5 x\n# fine\n6\n7 2 9\n8 200\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Lines(run.err),
              (std::vector<std::string>{
                  "cellpack: standard input: line 2: frame count \"x\" is not a whole number from "
                  "0 to 127",
                  "cellpack: standard input: line 4: expected two numbers, spawn count and frame "
                  "count",
                  "cellpack: standard input: line 5: expected two numbers, spawn count and frame "
                  "count",
                  "cellpack: standard input: line 6: frame count \"200\" is not a whole number "
                  "from 0 to 127"}));
    EXPECT_EQ(ReadBytes("c.ini"), "<missing>");
}

TEST(Cellpack, AddTypeAppendsToTheListAndNamesThePackItNeeds)
{
    ScratchFolder folder;
    ASSERT_EQ(Cellpack({"write-types", "cell.ini", "5:1"}).status, 0);
    ProgramRun run = Cellpack({"add-type", "cell.ini", "12:4", "0:1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "cell.ini: type 2 added (12 cells, 4 frames): its pack is 002.cell\n"
                       "cell.ini: type 3 added (0 cells, 1 frame): its pack is 003.cell\n");
    EXPECT_EQ(ReadBytes("cell.ini"), std::string("\x03\x05\x00\x01\x0c\x00\x04\x00\x00\x01", 10));

    std::vector<std::string> full{"write-types", "full.ini"};
    full.resize(2 + 127, "1:1");
    ASSERT_EQ(Cellpack(full).status, 0);
    WriteBytes("short.ini", std::string("\x02\x05\x00\x01", 4));
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string report;
    } cases[] = {
        {{"add-type", "full.ini", "1:1"}, 1, "128 types are more than the 127 a list holds"},
        {{"add-type", "short.ini", "1:1"}, 1, "short.ini: the file has 4 bytes but its 2 types"},
        {{"add-type", "absent.ini", "1:1"}, 1, "absent.ini: cannot read"},
        {{"add-type", "cell.ini", "1:200"}, 2, "frame count \"200\""},
        {{"add-type", "cell.ini"}, 2, "expected the list file and at least one SPAWN:FRAMES"},
    };
    std::string list = ReadBytes("cell.ini"), shortList = ReadBytes("short.ini");
    for (const Case& c : cases) {
        ProgramRun refused = Cellpack(c.arguments);
        EXPECT_EQ(refused.status, c.status) << c.report;
        EXPECT_NE(refused.err.find(c.report), std::string::npos) << refused.err;
    }
    EXPECT_EQ(ReadBytes("cell.ini"), list);
    EXPECT_EQ(ReadBytes("short.ini"), shortList);
    EXPECT_EQ(ReadBytes("absent.ini"), "<missing>");
}

TEST(Cellpack, CheckWithTheListReportsMissingPacksAndPacksItDoesNotName)
{
    ScratchFolder folder;
    std::filesystem::create_directories("cell");
    for (const char* pack : {"cell/001.cell", "cell/003.cell", "cell/004.cell", "cell/own.cell"})
        ASSERT_EQ(BuildPack(pack, SOUND_DEFINITION, {Frame(1)}).status, 0);
    ASSERT_EQ(Cellpack({"write-types", "cell/cell.ini", "1:1", "1:1", "1:1"}).status, 0);
    ProgramRun check = Cellpack({"check", "--list", "cell/cell.ini"});
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.out, "cell/001.cell: ok, definition and 1 frame\n"
                         "cell/003.cell: ok, definition and 1 frame\n");
    EXPECT_EQ(Lines(check.err),
              (std::vector<std::string>{
                  "cellpack: cell/cell.ini: type 2 is listed but its pack cell/002.cell is "
                  "missing; the game stops with Loading-Error! -> 002.cell",
                  "cellpack: cell/004.cell: warning: not a pack of the list cell/cell.ini, which "
                  "names 3 types (001.cell on), so the game never loads it; 'cellpack add-type' "
                  "lists a type",
                  "cellpack: cell/own.cell: warning: not a pack of the list cell/cell.ini, which "
                  "names 3 types (001.cell on), so the game never loads it; 'cellpack add-type' "
                  "lists a type"}));
}

TEST(Cellpack, VersionIsTheGamesOwn)
{
    ProgramRun run = Cellpack({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "cellpack (Vellomira) 0.3a\n");
}
