// Frames checked for what the game will show: each kind of troublesome frame named by build
// and check with the file and its cause, errors that keep build from writing the pack unless
// forced, and definitions the game would misread refused by build as check reports them.
#include "tests/scratch_folder.h"
#include "tests/tools/cellpack_run.h"
#include "tests/tools/frame_fixtures.h"

#include <gtest/gtest.h>

namespace {
const Rgba GREEN{40, 200, 80, 255};
const Rgba WHITE{255, 255, 255, 255};
const char* const DEFINITION = "Name = Probe\nsize = 24|40\n";

// A green bar on the key, twice as wide as high.
Picture Wide()
{
    Picture picture{32, 16, std::vector<Rgba>(32 * 16, KEY_COLOR)};
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 28; ++x)
            picture.pixels[size_t(y * 32 + x)] = GREEN;
    return picture;
}

std::string ReportOf(const ProgramRun& run)
{
    return "status " + std::to_string(run.status) + "\n" + run.out + run.err;
}
} // namespace

TEST(CellpackFrames, EachTroublesomeFrameIsNamedByBuildAndByCheck)
{
    Picture exported = Disc(32, GREEN, CLEAR, true);
    Picture keyed = Disc(32, GREEN, KEY_COLOR, false);
    struct Case {
        const char* file;
        std::string bytes;
        int status; // of build and of check: 0 for warnings, 1 for errors
        const char* what;
    } cases[] = {
        {"keyed.png", PngOf(keyed, false), 0, nullptr},
        {"export.png", PngOf(exported, true), 0,
         "warning: * pixels are transparent in its alpha channel but not the key colour FF00FF "
         "(* of them 000000): the game ignores alpha and draws them; key the frame"},
        // Transparent colours (tRNS), as indexed-color editors and optimisers write a drawing:
        // the game leaves them out as it ignores alpha, and draws the background as a square.
        {"palette.png", PalettePngOf(Outlined(32, GREEN)), 0,
         "warning: * pixels are transparent by its transparent colours (a PNG tRNS chunk) but "
         "not the key colour FF00FF (* of them 000000): the game ignores that transparency and "
         "draws them; key the frame"},
        {"rgb-trns.png", PngWithTransparentColor(Disc(32, GREEN, CLEAR, false), WHITE, false), 0,
         "warning: * pixels are transparent by its transparent colours (a PNG tRNS chunk) but "
         "not the key colour FF00FF (* of them FFFFFF)"},
        {"grey-trns.png",
         PngWithTransparentColor(Disc(32, WHITE, CLEAR, false), {0, 0, 0, 0}, true), 0,
         "warning: * pixels are transparent by its transparent colours (a PNG tRNS chunk) but "
         "not the key colour FF00FF (* of them 000000)"},
        {"keyed.jpg", JpegOf(keyed, 90), 0,
         "warning: a JPEG frame of a type that uses the key colour: lossy compression does not "
         "keep FF00FF exact"},
        {"flattened.png", PngOf(FlattenedOnto(exported, KEY_COLOR), false), 0,
         "warning: * pixels beside the key colour are close to it but not FF00FF (the first at "
         "*): the game draws them as a magenta fringe"},
        {"on-white.png", PngOf(Disc(32, GREEN, WHITE, true), false), 0,
         "warning: no pixel around its edge is the key colour FF00FF, and the edge is all about "
         "FFFFFF like a background: the game draws it as a square around the cell"},
        {"huge.png", PngDeclaring(20000, 20000), 1,
         "a PNG image of 20000 x 20000 pixels: above the decoders' limit of 16384 pixels a side"},
        {"heavy.png", PngDeclaring(16000, 16000), 1,
         "a PNG image of 16000 x 16000 pixels: its decoder needs 1024064000 bytes (4 a pixel, "
         "with one row more), above its limit of 268435456 bytes (256 MiB); at 16000 pixels "
         "wide a frame may be at most 4193 pixels high"},
        // Just above the limit: the decoders' buffer holds one row more than the image.
        {"just-too-heavy.png", PngDeclaring(8192, 8192), 1,
         "a PNG image of 8192 x 8192 pixels: its decoder needs 268468224 bytes (4 a pixel, with "
         "one row more), above its limit of 268435456 bytes (256 MiB); at 8192 pixels wide a "
         "frame may be at most 8191 pixels high"},
        {"cmyk.jpg", CmykJpeg(), 1,
         "a CMYK JPEG: the JPEG decoder reads only RGB and greyscale JPEGs"},
        // The game reads no more than 10000000 bytes of a frame: pixels past them are lost,
        // while bytes after a whole image do no harm.
        {"padded.png", PngPaddedBeforePixels(PngOf(keyed, false), 10000000), 1,
         "a PNG file of * bytes: the game gives its decoder only the first 10000000 bytes of a "
         "frame, and the image does not end within them"},
        {"trailing.png", PngOf(keyed, false) + std::string(10000000, '\0'), 0, nullptr},
        {"notes.png", "not an image at all\n", 1,
         "not an image that the registered decoders (PNG, JPEG) read"},
        {"wide.png", PngOf(Wide(), false), 0,
         "warning: 32 x 16 pixels: the game draws every frame as a square of the type's size, so "
         "this one is stretched"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        std::string frame = std::string("frames/") + c.file;
        WriteBytes("def.ini", DEFINITION);
        WriteBytes(frame, c.bytes);

        ProgramRun build = Cellpack({"build", "001.cell", "def.ini", frame});
        EXPECT_EQ(build.status, c.status) << c.file << "\n" << ReportOf(build);
        std::vector<std::string> lines = Lines(build.err);
        if (!c.what) {
            EXPECT_EQ(build.err, "") << c.file;
        } else {
            ASSERT_GE(lines.size(), 1u) << c.file;
            EXPECT_TRUE(Matches(lines[0], "cellpack: " + frame + " (frame 1): " + c.what))
                << c.file << "\n"
                << lines[0];
        }
        if (c.status == 1) {
            ASSERT_EQ(lines.size(), 2u) << ReportOf(build);
            EXPECT_EQ(lines[1], "cellpack: 001.cell not written: 1 error (--force packs anyway)");
            EXPECT_EQ(ReadBytes("001.cell"), "<missing>") << c.file;
            ProgramRun forced = Cellpack({"build", "--force", "001.cell", "def.ini", frame});
            EXPECT_EQ(forced.status, 0) << c.file;
            EXPECT_EQ(Lines(forced.err).back(),
                      "cellpack: 001.cell written despite 1 error (--force)");
        }

        ProgramRun check = Cellpack({"check", "001.cell"});
        EXPECT_EQ(check.status, c.status) << c.file << "\n" << ReportOf(check);
        if (!c.what) {
            EXPECT_EQ(check.out, "001.cell: ok, definition and 1 frame\n") << c.file;
            EXPECT_EQ(check.err, "") << c.file;
            continue;
        }
        ASSERT_EQ(Lines(check.err).size(), 1u) << ReportOf(check);
        EXPECT_TRUE(Matches(check.err, std::string("001.cell: entry 2 (frame 1): ") + c.what))
            << c.file << "\n"
            << check.err;
        EXPECT_EQ(check.out, c.status ? "" : "001.cell: ok, definition and 1 frame, 1 warning\n")
            << c.file;
    }
}

TEST(CellpackFrames, ALosslessTypeWithoutTheKeyMayUseJpegFrames)
{
    ScratchFolder folder;
    // A type drawn as opaque squares: no pixel is, or is near, the key.
    Picture square = Disc(16, GREEN, {30, 60, 200, 255}, false);
    WriteBytes("def.ini", DEFINITION);
    WriteBytes("a.jpg", JpegOf(square, 90));
    WriteBytes("b.png", PngOf(square, false));
    ProgramRun build = Cellpack({"build", "001.cell", "def.ini", "a.jpg", "b.png"});
    EXPECT_EQ(build.status, 0);
    EXPECT_EQ(build.err.find("JPEG"), std::string::npos) << build.err;
}

TEST(CellpackFrames, BuildRefusesADefinitionTheGameWouldMisread)
{
    ScratchFolder folder;
    WriteBytes("def.ini", "Name = X\nsise = 10|16\ntrans = 170|160\n");
    WriteBytes("f.png", PngOf(Disc(16, GREEN, KEY_COLOR, false), false));
    ProgramRun build = Cellpack({"build", "001.cell", "def.ini", "f.png"});
    EXPECT_EQ(build.status, 1);
    EXPECT_EQ(Lines(build.err),
              (std::vector<std::string>{
                  "cellpack: def.ini, line 2, key \"sise\": unknown key; the game never reads it "
                  "(did you mean \"size\"?)",
                  "cellpack: def.ini, line 3, key \"trans\": \"170|160\" is reversed: its first "
                  "value is above its second",
                  "cellpack: 001.cell not written: 2 errors (--force packs anyway)"}));
    EXPECT_EQ(ReadBytes("001.cell"), "<missing>");
}
