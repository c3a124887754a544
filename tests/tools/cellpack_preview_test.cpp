// The preview sheet shows what the game shows: each drawing on it equals, pixel for pixel, the
// game's own frame of a cell of that type at that image, size and filter, pupils included.
#include "game/data/globals.h"
#include "game/simulation/simulation.h"
#include "game/startup/startup.h"
#include "runtime/platform/headless.h"
#include "runtime/runtime.h"
#include "tests/game/game_data.h"
#include "tests/tools/cellpack_run.h"
#include "tests/tools/frame_fixtures.h"
#include "tools/cellpack/preview.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>

namespace {
// A type that holds still: it neither turns nor swims nor animates, so that a pass of the main
// loop draws it where and as it was put.
const char* const STILL =
    "Name = Probe\r\nsize = 24|56\r\ntrans = 200|230\r\nAniType = 1\r\nangle_s = 0|0\r\n"
    "idle_anispeed = 0|0\r\nnorm_movespeed = 0|0\r\naccelaration = 0|0\r\n";
constexpr int32_t EYED = 13; // a type with two eyes
const int32_t SIZES[] = {24, 56};

// A frame of detail that filtering changes: a disc of a color gradient on the key.
std::string DetailedFrame(int k)
{
    Picture picture = Disc(32, {0, 0, 0, 255}, KEY_COLOR, false);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            Rgba& p = picture.pixels[size_t(y * 32 + x)];
            if (p.r != 255 || p.b != 255)
                p = {uint8_t(x * 8), uint8_t(40 + y * 6), uint8_t(60 * k), 255};
        }
    return PngOf(picture, false);
}

struct Sheet {
    std::vector<uint32_t> pixels;
    int32_t width = 0;
    int32_t corner[3][2][2] = {}; // frame, size: x and y of the drawing
    bool placed[3][2] = {};       // the preview named the drawing's place
};

Sheet ReadSheet(const std::string& png, const std::string& placements)
{
    Sheet sheet;
    sheet.pixels = DecodedPixels(png, sheet.width);
    for (const std::string& line : Lines(placements)) {
        int k = 0, size = 0, x = 0, y = 0;
        if (std::sscanf(line.c_str(), "sheet.png: frame %d at %d pixels: x %d, y %d", &k, &size, &x,
                        &y) == 4 &&
            k >= 1 && k <= 3) {
            int32_t s = size == SIZES[1];
            sheet.corner[k - 1][s][0] = x, sheet.corner[k - 1][s][1] = y;
            sheet.placed[k - 1][s] = true;
        }
    }
    return sheet;
}

// The game started on a world whose type 13 is the pack, one cell of it, with the filter in
// pref.ini.
void StartTheGame(const std::string& pack, int32_t filter)
{
    std::vector<CellTypeData> types(EYED - 1, CellTypeData{0, "Name = Other\r\n", {}});
    types.push_back({1, STILL, {DetailedFrame(1), DetailedFrame(2), DetailedFrame(3)}});
    WriteGameData(types, SolidPng(64, 64, 0xC03030), SolidPng(8, 8, 0xFFFFFF));
    WriteBytes("cell/013.cell", pack);
    WriteBytes("pref.ini", "Width = 800\r\nHeight = 600\r\nDepth = 32\r\nBilineare Filterung = " +
                               std::to_string(filter) + "\r\nFPS anzeige Frequenz = 0\r\n");
    static const int quiet = ::open("/dev/null", O_RDWR);
    ClearGlobals();
    OpenConsoleOn(quiet, quiet);
    int status = -1;
    ASSERT_TRUE(StartGame(status)) << "status " << status;
    ClearList(BubbleList);
    HeadlessMouseMove(-5000, -5000); // the cursor out of the way, in the corner
}

// One pass with the type's only cell at the image and size, its front edge the preview's
// distance below the player's centre; the cell's screen position.
void DrawCellInTheGame(int32_t k, int32_t size, int32_t& x, int32_t& y)
{
    ResetList(CellList);
    Cell* cell = NextElementOf<Cell>(CellList);
    ASSERT_NE(cell, nullptr);
    cell->size = float(size);
    cell->x = PlayerCentreX() - float(size) / 2;
    cell->y = PlayerCentreY() + PREVIEW_PLAYER_DISTANCE;
    cell->angle = 0;
    cell->trans = 230;
    cell->frame = float(k);
    ASSERT_TRUE(RunMainLoopPass());
    ASSERT_EQ(cell->x, PlayerCentreX() - float(size) / 2) << "the cell held still";
    ASSERT_EQ(cell->angle, 0);
    x = RoundToInteger(cell->x - ScreenPosX);
    y = RoundToInteger(cell->y - ScreenPosY);
}
} // namespace

TEST(CellpackPreview, EachDrawingIsTheGamesOwnFrameOfTheCell)
{
    for (int32_t filter : {0, 1}) {
        ScratchFolder folder;
        WriteBytes("in/definition.ini", STILL);
        std::vector<std::string> build{"build", "013.cell", "in/definition.ini"};
        for (int k = 1; k <= 3; ++k) {
            build.push_back("in/frame" + std::to_string(k) + ".png");
            WriteBytes(build.back(), DetailedFrame(k));
        }
        ASSERT_EQ(Cellpack(build).status, 0);
        ProgramRun preview = Cellpack(
            {"preview", "013.cell", "-o", "sheet.png", "--filter", std::to_string(filter)});
        ASSERT_EQ(preview.status, 0) << preview.err;
        Sheet sheet = ReadSheet(ReadBytes("sheet.png"), preview.out);
        ASSERT_GT(sheet.width, 0);
        int32_t rows = int32_t(sheet.pixels.size()) / sheet.width;
        for (int32_t k = 0; k < 3; ++k)
            for (int32_t s = 0; s < 2; ++s) {
                const int32_t* at = sheet.corner[k][s];
                ASSERT_TRUE(sheet.placed[k][s])
                    << "frame " << k + 1 << ", size " << SIZES[s] << "\n"
                    << preview.out;
                // The comparison below reads 8 pixels around the drawing.
                ASSERT_TRUE(at[0] >= 8 && at[1] >= 8 && at[0] + SIZES[s] + 8 <= sheet.width &&
                            at[1] + SIZES[s] + 8 <= rows)
                    << "frame " << k + 1 << " at " << at[0] << ", " << at[1];
            }

        ASSERT_NO_FATAL_FAILURE(StartTheGame(ReadBytes("013.cell"), filter));
        for (int32_t k = 0; k < 3; ++k)
            for (int32_t s = 0; s < 2; ++s) {
                int32_t x = 0, y = 0;
                ASSERT_NO_FATAL_FAILURE(DrawCellInTheGame(k, SIZES[s], x, y));
                int32_t width = 0, height = 0;
                const uint32_t* frame = HeadlessFrame(width, height);
                ASSERT_NE(frame, nullptr);
                // The drawing and 8 pixels around it, where the pupils may reach.
                int32_t differ = 0, drawn = 0;
                for (int32_t dy = -8; dy < SIZES[s] + 8; ++dy)
                    for (int32_t dx = -8; dx < SIZES[s] + 8; ++dx) {
                        uint32_t game =
                            frame[size_t(y + dy) * size_t(width) + size_t(x + dx)] & 0xFFFFFF;
                        uint32_t shown =
                            sheet.pixels[size_t(sheet.corner[k][s][1] + dy) * size_t(sheet.width) +
                                         size_t(sheet.corner[k][s][0] + dx)];
                        differ += game != shown;
                        drawn += game != 0x000A14;
                    }
                EXPECT_EQ(differ, 0)
                    << "frame " << k + 1 << ", size " << SIZES[s] << ", filter " << filter;
                EXPECT_GT(drawn, SIZES[s] * SIZES[s] / 3) << "the cell is on the screen";
            }
        QuitSequence();
    }
}

TEST(CellpackPreview, TheSheetHoldsItsCaptionAndRefusesSizesItCannotHold)
{
    ScratchFolder folder;
    WriteBytes("frame.png", DetailedFrame(1));
    // One small frame under a long caption: the sheet is as wide as the caption needs.
    WriteBytes("small.ini", "Name = A small probe with a long name\nsize = 10|16\n");
    ASSERT_EQ(Cellpack({"build", "001.cell", "small.ini", "frame.png"}).status, 0);
    ProgramRun small = Cellpack({"preview", "001.cell", "-o", "sheet.png"});
    ASSERT_EQ(small.status, 0) << small.err;
    int32_t width = 0;
    std::vector<uint32_t> sheet = DecodedPixels(ReadBytes("sheet.png"), width);
    ASSERT_GT(width, 0);
    int32_t rows = int32_t(sheet.size()) / width, caption = 0, atTheEdge = 0;
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < width; ++x) {
            bool white = sheet[size_t(y) * size_t(width) + size_t(x)] == 0xFFFFFF;
            caption += white && y < 40;
            atTheEdge += white && x >= width - 8;
        }
    EXPECT_GT(caption, 100) << "the caption is drawn";
    EXPECT_EQ(atTheEdge, 0) << "nothing reaches the right margin of " << width << " pixels";

    // Sizes whose sheet the screen cannot hold, however their sums overflow 32 bits.
    for (const char* size : {"2000|9000", "2000000000|2147483647"}) {
        WriteBytes("huge.ini", std::string("size = ") + size + "\n");
        ASSERT_EQ(Cellpack({"build", "--force", "002.cell", "huge.ini", "frame.png"}).status, 0);
        ProgramRun huge = Cellpack({"preview", "002.cell", "-o", "huge.png"});
        EXPECT_EQ(huge.status, 1) << size;
        EXPECT_TRUE(Matches(huge.err, "cellpack: 002.cell: a sheet of cells of * px would be * x * "
                                      "pixels, more than the 8192 a side the screen holds"))
            << huge.err;
        EXPECT_EQ(ReadBytes("huge.png"), "<missing>") << size;
    }
}

TEST(CellpackPreview, DrawsTheOpacityTheGameDraws)
{
    ScratchFolder folder;
    WriteBytes("frame.png", DetailedFrame(1));
    // The game keeps the low 8 bits of an opacity: 400 draws as 144.
    std::vector<uint32_t> drawn[2];
    std::string placed[2];
    const char* trans[2] = {"300|400", "144|144"};
    for (int i = 0; i < 2; ++i) {
        WriteBytes("def.ini", std::string("size = 32|32\ntrans = ") + trans[i] + "\n");
        ASSERT_EQ(Cellpack({"build", "--force", "001.cell", "def.ini", "frame.png"}).status, 0);
        ProgramRun preview = Cellpack({"preview", "001.cell", "-o", "sheet.png"});
        ASSERT_EQ(preview.status, 0) << preview.err;
        int32_t width = 0;
        std::vector<uint32_t> sheet = DecodedPixels(ReadBytes("sheet.png"), width);
        int x = 0, y = 0;
        ASSERT_EQ(
            std::sscanf(preview.out.c_str(), "sheet.png: frame 1 at 32 pixels: x %d, y %d", &x, &y),
            2)
            << preview.out;
        for (int dy = 0; dy < 32; ++dy)
            for (int dx = 0; dx < 32; ++dx)
                drawn[i].push_back(sheet[size_t(y + dy) * size_t(width) + size_t(x + dx)]);
    }
    EXPECT_EQ(drawn[0], drawn[1]);
}
