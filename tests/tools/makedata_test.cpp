// The sample data generator: the same bytes on every run, a list file that matches the data,
// eye sockets that hold the pupils the game draws, at every heading, size and bearing, and a
// world the game starts on and plays.
#include "game/data/globals.h"
#include "game/rendering/rendering.h"
#include "game/simulation/simulation.h"
#include "game/startup/startup.h"
#include "runtime/runtime.h"
#include "tests/tools/program_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {
const std::string MAKE_DATA = std::string(VELLOMIRA_SOURCE_DIR) + "/scripts/make_data.sh";
const std::string CELLPACK = std::string(VELLOMIRA_BINARY_DIR) + "/cellpack";
const std::string DATA = std::string(VELLOMIRA_SOURCE_DIR) + "/data";

std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

std::string ThreeDigits(int32_t n)
{
    return std::to_string(1000 + n).substr(1);
}

// Makes the sample data as scripts/make_data.sh does for the game (makedata, then every type
// packed and checked by cellpack) into a fresh folder of this process (the test runner may run
// several at once); the folder.
fs::path Generate(const std::string& name)
{
    fs::path root =
        fs::temp_directory_path() / ("vellomira_makedata_" + std::to_string(getpid()) + "_" + name);
    fs::remove_all(root);
    // No own types: the folder of own types does not exist.
    ProgramRun run = RunProgram(MAKE_DATA, {VELLOMIRA_BINARY_DIR, (root / "run").string(),
                                            (root / "stage").string(), (root / "mods").string()});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    return root;
}

std::vector<std::string> FilesBelow(const fs::path& root)
{
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), root).string());
    std::sort(files.begin(), files.end());
    return files;
}

// The size range of a definition text, from its "size = a|b" line.
void SizeRange(const fs::path& path, int32_t& low, int32_t& high)
{
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line))
        if (line.rfind("size", 0) == 0) {
            std::string value = line.substr(line.find('=') + 1);
            low = TextToInteger(TextField(value, 1, "|"));
            high = TextToInteger(TextField(value, 2, "|"));
        }
}

struct Frame {
    int32_t width = 0, height = 0, pitch = 0;
    std::vector<uint8_t> bgr;
};

Frame DecodeFrame(const fs::path& path)
{
    RegisterPngDecoder();
    std::vector<uint8_t> bytes = ReadBytes(path);
    Frame frame;
    if (bytes.empty() || FindImageDecoder(bytes.data(), static_cast<int64_t>(bytes.size())) != 1)
        return frame;
    int32_t width = CurrentImageWidth();
    frame.height = CurrentImageHeight();
    frame.pitch = width * 3 + width % 4;
    frame.bgr.resize(static_cast<size_t>(frame.pitch) * (frame.height + 1));
    if (DecodeCurrentImage(frame.bgr.data(), frame.pitch))
        frame.width = width;
    return frame;
}

// Brightness (sum of the channels) of the texel under a screen point of a cell image drawn
// as the game draws it: at its rounded position and size, turned clockwise about its centre
// by its rounded heading. 0 on the color key or off the image.
int32_t TexelUnder(const Frame& frame, const Cell& cell, double sx, double sy)
{
    double width = std::nearbyint(cell.size);
    double cx = std::nearbyint(cell.x - ScreenPosX) + width / 2;
    double cy = std::nearbyint(cell.y - ScreenPosY) + width / 2;
    double a = std::nearbyint(cell.angle) * M_PI / 180;
    double dx = sx - cx, dy = sy - cy;
    double u = dx * std::cos(a) + dy * std::sin(a), v = -dx * std::sin(a) + dy * std::cos(a);
    int32_t tx = static_cast<int32_t>(std::floor(u * frame.width / width + frame.width / 2.0));
    int32_t ty = static_cast<int32_t>(std::floor(v * frame.height / width + frame.height / 2.0));
    if (tx < 0 || ty < 0 || tx >= frame.width || ty >= frame.height)
        return 0;
    const uint8_t* p = &frame.bgr[static_cast<size_t>(ty) * frame.pitch + tx * 3];
    if (p[0] == 255 && p[1] == 0 && p[2] == 255)
        return 0;
    return p[0] + p[1] + p[2];
}

// Points of the pupils of one cell that land outside the pale inside of their sockets, with
// the player 400 pixels away at the bearing. A pupil dot of sprite m is a disc of m pixels
// across in the top-left corner of its sprite (2 x 2 for m = 2, a 5-pixel round dot for 5).
int32_t PupilMisses(const Frame& frame, const Cell& cell, int32_t image, int32_t bearing)
{
    static const double HALF[7] = {0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0};
    double b = bearing * M_PI / 180;
    PlayerSize = 64;
    PlayerX = static_cast<float>(cell.x + cell.size / 2 + 400 * std::sin(b) - 32);
    PlayerY = static_cast<float>(cell.y + cell.size / 2 - 400 * std::cos(b) - 32);
    EyePlacement eyes[2];
    int32_t count = CellEyes(cell, image, eyes), misses = 0;
    for (int32_t e = 0; e < count; ++e) {
        ScreenPoint at = PupilPosition(cell, eyes[e]);
        double half = HALF[eyes[e].dot];
        for (int32_t s = 0; s <= 8; ++s) {
            double reach = s < 8 ? half - 0.5 : 0;
            double sx = at.x + half + reach * std::cos(s * M_PI / 4);
            double sy = at.y + half + reach * std::sin(s * M_PI / 4);
            misses += TexelUnder(frame, cell, sx, sy) < 300;
        }
    }
    return misses;
}

// The tests only read the world: under ctest, the one world made for the whole test run
// (VELLOMIRA_SAMPLE_WORLD, a folder as Generate makes), else one made for this process.
class MakeData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const char* shared = std::getenv("VELLOMIRA_SAMPLE_WORLD");
        made = !shared || !*shared;
        first = made ? Generate("first") : fs::path(shared);
    }
    static void TearDownTestSuite()
    {
        if (made)
            fs::remove_all(first);
    }
    static fs::path first;
    static bool made;
};
fs::path MakeData::first;
bool MakeData::made = false;
} // namespace

TEST_F(MakeData, GeneratesTheSameBytesEveryTime)
{
    fs::path second = Generate("second");
    std::vector<std::string> files = FilesBelow(first);
    ASSERT_EQ(files, FilesBelow(second));
    EXPECT_GE(files.size(), 21u + 1u + 14u * 2u);
    for (const std::string& file : files)
        EXPECT_EQ(ReadBytes(first / file), ReadBytes(second / file)) << file;
    fs::remove_all(second);
}

TEST_F(MakeData, ListFileMatchesTheStagedTypes)
{
    std::vector<uint8_t> list = ReadBytes(first / "run/cell/cell.ini");
    ASSERT_FALSE(list.empty());
    int32_t count = static_cast<int8_t>(list[0]);
    ASSERT_GE(count, 14);
    ASSERT_EQ(list.size(), 1u + 3u * count);
    int32_t cells = 0;
    for (int32_t t = 1; t <= count; ++t) {
        const uint8_t* entry = &list[1 + 3 * (t - 1)];
        cells += static_cast<int16_t>(entry[0] | entry[1] << 8);
        int32_t frames = static_cast<int8_t>(entry[2]);
        fs::path folder = first / "stage" / ThreeDigits(t);
        EXPECT_TRUE(fs::exists(folder / "definition.ini")) << folder;
        for (int32_t k = 1; k <= frames; ++k)
            EXPECT_GT(DecodeFrame(folder / ("frame" + ThreeDigits(k) + ".png")).width, 0)
                << folder << ", frame " << k;
        EXPECT_FALSE(fs::exists(folder / ("frame" + ThreeDigits(frames + 1) + ".png"))) << folder;
    }
    EXPECT_GE(cells, 200);
    EXPECT_LE(cells, 800);
}

TEST_F(MakeData, EveryPackHoldsItsStagedFilesAndPassesTheCheck)
{
    fs::path cells = first / "run/cell";
    std::vector<uint8_t> list = ReadBytes(cells / "cell.ini");
    ASSERT_FALSE(list.empty());
    std::vector<std::string> check{"check", "--list", (cells / "cell.ini").string()};
    for (int32_t t = 1; t <= static_cast<int8_t>(list[0]); ++t) {
        fs::path pack = cells / (ThreeDigits(t) + ".cell"),
                 folder = first / "stage" / ThreeDigits(t);
        check.push_back(pack.string());
        ASSERT_EQ(OpenPack(pack.c_str()), 1) << pack;
        std::vector<fs::path> staged{folder / "definition.ini"};
        for (int32_t k = 1; fs::exists(folder / ("frame" + ThreeDigits(k) + ".png")); ++k)
            staged.push_back(folder / ("frame" + ThreeDigits(k) + ".png"));
        for (const fs::path& file : staged) {
            const uint8_t* entry = NextPackEntry();
            ASSERT_NE(entry, nullptr) << file;
            EXPECT_EQ(std::vector<uint8_t>(entry, entry + PackEntrySize()), ReadBytes(file))
                << file;
        }
        EXPECT_EQ(NextPackEntry(), nullptr) << pack;
        EXPECT_EQ(PackEndReached(), 1) << pack;
    }
    ClosePack();
    ProgramRun run = RunProgram(CELLPACK, check);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), list[0]) << run.out;
}

TEST_F(MakeData, PupilsSitInTheirSockets)
{
    ScreenPosX = 900, ScreenPosY = 900;
    for (int32_t type : {3, 6, 13, 14}) {
        int32_t low = 0, high = 0;
        SizeRange(DATA + "/cells/" + ThreeDigits(type) + ".ini", low, high);
        ASSERT_GT(low, 0) << type;
        fs::path folder = first / "stage" / ThreeDigits(type);
        for (int32_t k = 0; fs::exists(folder / ("frame" + ThreeDigits(k + 1) + ".png")); ++k) {
            Frame frame = DecodeFrame(folder / ("frame" + ThreeDigits(k + 1) + ".png"));
            ASSERT_GT(frame.width, 0);
            int32_t misses = 0;
            for (int32_t size = low; size <= high;
                 size = size < high && size + 4 > high ? high : size + 4)
                for (int32_t heading = 0; heading < 360; heading += 5)
                    for (int32_t bearing = 0; bearing < 360; bearing += 20) {
                        Cell cell{};
                        cell.type = static_cast<int8_t>(type);
                        cell.size = static_cast<float>(size);
                        cell.angle = static_cast<float>(heading);
                        cell.x = 1000.3f, cell.y = 1000.6f;
                        misses += PupilMisses(frame, cell, k, bearing);
                    }
            EXPECT_EQ(misses, 0) << "type " << type << ", frame " << k + 1;
        }
    }
}

TEST_F(MakeData, TheGameStartsOnTheSampleWorldAndPlays)
{
    // In a copy: the game writes its preferences where it runs.
    fs::path play =
        fs::temp_directory_path() / ("vellomira_makedata_" + std::to_string(getpid()) + "_play");
    fs::remove_all(play);
    fs::copy(first / "run", play, fs::copy_options::recursive);
    fs::path home = fs::current_path();
    fs::current_path(play);
    static const int quiet = ::open("/dev/null", O_RDWR);
    ClearGlobals();
    OpenConsoleOn(quiet, quiet);
    int status = -1;
    ASSERT_TRUE(StartGame(status)) << "status " << status;
    int32_t cells = 0;
    for (int32_t t = 1; t <= CellTypeCount; ++t) {
        const CellType& type = CellTypes[size_t(t)];
        cells += type.SpawnCount;
        EXPECT_GT(type.Width, 0) << "type " << t;
        for (int32_t k = 0; k < type.FrameCount; ++k)
            EXPECT_NE(CellSprite(t, k)[0], 0) << "type " << t << ", frame " << k;
    }
    EXPECT_EQ(ListSize(CellList), cells);
    for (int pass = 0; pass < 30; ++pass)
        ASSERT_TRUE(RunMainLoopPass());
    EXPECT_EQ(QuitSequence(), 0);
    fs::current_path(home);
    fs::remove_all(play);
}

TEST(MakeDataIcons, TwoSizesOfTheCellAndTheWindowIconHoldsTheSmallOnePixelForPixel)
{
    fs::path out = fs::temp_directory_path() / ("vellomira_icons_" + std::to_string(getpid()));
    fs::remove_all(out);
    ProgramRun run = RunProgram(VELLOMIRA_BINARY_DIR "/makedata", {"--icons", DATA, out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    for (int32_t size : {256, 48}) {
        Frame icon = DecodeFrame(out / ("vellomira-" + std::to_string(size) + ".png"));
        EXPECT_EQ(icon.width, size);
        EXPECT_EQ(icon.height, size);
    }
    // The window's icon is compiled from the source text: it must be the installed 48 px icon.
    Frame small = DecodeFrame(out / "vellomira-48.png");
    std::ifstream source(out / "window_icon.inc");
    std::string word;
    std::vector<uint32_t> words;
    while (source >> word)
        words.push_back(uint32_t(std::stoul(word, nullptr, 0)));
    ASSERT_EQ(words.size(), 2u + 48u * 48u);
    EXPECT_EQ(words[0], 48u);
    EXPECT_EQ(words[1], 48u);
    int32_t differing = 0;
    for (int32_t y = 0; y < 48; ++y) {
        for (int32_t x = 0; x < 48; ++x) {
            const uint8_t* bgr = &small.bgr[size_t(y) * small.pitch + size_t(x) * 3];
            uint32_t argb = 0xFF000000u | uint32_t(bgr[2]) << 16 | uint32_t(bgr[1]) << 8 | bgr[0];
            differing += words[2 + size_t(y) * 48 + size_t(x)] != argb;
        }
    }
    EXPECT_EQ(differing, 0);
    // A cell, not an empty tile: the middle is far brighter than the corner.
    auto brightness = [&](int32_t x, int32_t y) {
        const uint8_t* p = &small.bgr[size_t(y) * small.pitch + size_t(x) * 3];
        return p[0] + p[1] + p[2];
    };
    EXPECT_GT(brightness(24, 24), brightness(0, 0) + 60);
    fs::remove_all(out);
}

TEST(MakeDataIcons, TheWindowsIconFileHoldsEachSizeAsItsPng)
{
    fs::path out = fs::temp_directory_path() / ("vellomira_ico_" + std::to_string(getpid()));
    fs::remove_all(out);
    ProgramRun run = RunProgram(VELLOMIRA_BINARY_DIR "/makedata", {"--icons", DATA, out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    auto read = [](const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    std::string ico = read(out / "vellomira.ico");
    auto word = [&](size_t at) {
        return uint32_t(uint8_t(ico[at])) | uint32_t(uint8_t(ico[at + 1])) << 8;
    };
    auto dword = [&](size_t at) { return word(at) | word(at + 2) << 16; };
    ASSERT_GE(ico.size(), 6u + 4u * 16u);
    EXPECT_EQ(word(0), 0u);
    EXPECT_EQ(word(2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(word(4), 4u);
    const int32_t sizes[] = {256, 48, 32, 16};
    for (size_t i = 0; i < 4; ++i) {
        size_t entry = 6 + i * 16;
        EXPECT_EQ(uint8_t(ico[entry]), sizes[i] & 0xFF) << sizes[i];
        EXPECT_EQ(uint8_t(ico[entry + 1]), sizes[i] & 0xFF) << sizes[i];
        EXPECT_EQ(word(entry + 6), 32u) << sizes[i];
        std::string png = read(out / ("vellomira-" + std::to_string(sizes[i]) + ".png"));
        ASSERT_LE(size_t(dword(entry + 12)) + dword(entry + 8), ico.size()) << sizes[i];
        EXPECT_EQ(ico.substr(dword(entry + 12), dword(entry + 8)), png) << sizes[i];
        EXPECT_EQ(DecodeFrame(out / ("vellomira-" + std::to_string(sizes[i]) + ".png")).width,
                  sizes[i]);
    }
    fs::remove_all(out);
}
