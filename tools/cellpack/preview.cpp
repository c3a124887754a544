// The preview sheet: a type's frames drawn by the game's own cell drawing on the runtime's
// screen of the headless platform, so that an author sees what the game will show.
#include "tools/cellpack/preview.h"

#include "game/data/data.h"
#include "game/data/globals.h"
#include "game/rendering/rendering.h"
#include "game/simulation/simulation.h"
#include "runtime/display/default_font.h"
#include "runtime/platform/headless.h"
#include "runtime/platform/utf8_path.h"
#include "runtime/runtime.h"
#include "tools/cellpack/cell_list.h"
#include "tools/cellpack/file_bytes.h"
#include "tools/cellpack/frame_image.h"
#include "tools/cellpack/pack_check.h"
#include "tools/cellpack/pack_reading.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {
// Every size a sheet can hold; the screen offers at most 8192 pixels a side.
constexpr int32_t MOST_SHEET_WIDTH = 2048;
constexpr int32_t MOST_SHEET_SIDE = 8192;

struct Preview {
    std::string pack;
    int32_t type = 1;   // the type's number, which gives the eyes
    int32_t filter = 1; // the game's default, bilinear
    CellDefinition definition;
    std::vector<std::vector<uint8_t>> frames;
    std::vector<int32_t> sizes; // the smallest and the largest of the type's range
};

std::string ReadPreview(const std::string& path, Preview& preview)
{
    ReadPackFile pack;
    std::string error = ReadPack(path, pack);
    if (!error.empty())
        return error;
    for (size_t i = 0; i < pack.entries.size(); ++i)
        if (!pack.entries[i].broken.empty())
            return path + ": entry " + std::to_string(i + 1) + ": " + pack.entries[i].broken;
    if (pack.entries.size() < 2)
        return path + ": the pack holds no frame to draw";
    const std::vector<uint8_t>& text = pack.entries[0].data;
    if (!OpenPreferencesFromMemory(text.data(), int32_t(text.size())))
        return path + ": the definition cannot be read";
    preview.definition = ReadCellDefinition();
    ClosePreferences();
    for (size_t i = 1; i < pack.entries.size(); ++i)
        preview.frames.push_back(pack.entries[i].data);
    CellRange size = preview.definition.size;
    preview.sizes = {std::max(size.low, 0), std::max(size.high, 0)};
    if (preview.sizes[0] == preview.sizes[1])
        preview.sizes.pop_back();
    return "";
}

// Where things go on the sheet: a caption of two lines, then rows of up to `columns` frames,
// each frame in a column with its number above and its drawings at every size below, one size
// a row.
struct SheetLayout {
    int32_t lineHeight = 16;
    int32_t labelWidth = 64; // the column of size labels
    int32_t columnWidth = 0; // holds the largest drawing with room for the eyes around it
    int32_t columns = 0;
    int32_t top = 0;         // of the first row of frames, below the caption
    int32_t chunkHeight = 0; // one row of frames: numbers, then a drawing per size
    int32_t width = 0, height = 0;
};

constexpr int32_t MARGIN = 8;

// The sheet's caption: what the type is and how the game draws it, and its frames' order.
struct Caption {
    std::string title, order;
};

std::string SizeLabel(int32_t size)
{
    return std::to_string(size) + " px";
}

// Lays the sheet out around the caption, in 64 bits, since a type's sizes may be any 32-bit
// numbers; a problem when the sheet would not fit the screen.
std::string LayOut(const Preview& preview, const Caption& caption, SheetLayout& layout)
{
    int32_t font = DefaultFontHeight();
    if (font > 0)
        layout.lineHeight = font + 2;
    for (int32_t size : preview.sizes)
        layout.labelWidth =
            std::max(layout.labelWidth, DefaultFontTextWidth(SizeLabel(size).c_str()) + 2 * MARGIN);
    int64_t largest = preview.sizes.back(), frames = int64_t(preview.frames.size());
    int64_t columnWidth = std::max<int64_t>(largest, 24) + 2 * MARGIN;
    int64_t columns =
        std::clamp<int64_t>((MOST_SHEET_WIDTH - layout.labelWidth) / columnWidth, 1, frames);
    int64_t chunkHeight = layout.lineHeight;
    for (int32_t size : preview.sizes)
        chunkHeight += int64_t{size} + 2 * MARGIN;
    int64_t chunks = (frames + columns - 1) / columns;
    int64_t captionWidth = std::max(DefaultFontTextWidth(caption.title.c_str()),
                                    DefaultFontTextWidth(caption.order.c_str()));
    int64_t width =
        std::max(layout.labelWidth + columns * columnWidth + MARGIN, captionWidth + 2 * MARGIN);
    layout.top = 2 * layout.lineHeight + 2 * MARGIN;
    int64_t height = layout.top + chunks * chunkHeight + MARGIN;
    if (width > MOST_SHEET_SIDE || height > MOST_SHEET_SIDE)
        return preview.pack + ": a sheet of cells of " + SizeLabel(preview.sizes.back()) +
               " would be " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels, more than the " + std::to_string(MOST_SHEET_SIDE) +
               " a side the screen holds";
    layout.columnWidth = int32_t(columnWidth);
    layout.columns = int32_t(columns);
    layout.chunkHeight = int32_t(chunkHeight);
    layout.width = int32_t(width);
    layout.height = int32_t(height);
    return "";
}

// The top-left corner of frame k drawn at the size of row r.
void CellPlace(const SheetLayout& layout, const Preview& preview, int32_t k, size_t r, int32_t& x,
               int32_t& y)
{
    int32_t size = preview.sizes[r];
    x = layout.labelWidth + k % layout.columns * layout.columnWidth +
        (layout.columnWidth - size) / 2;
    y = layout.top + k / layout.columns * layout.chunkHeight + layout.lineHeight + MARGIN;
    for (size_t before = 0; before < r; ++before)
        y += preview.sizes[before] + 2 * MARGIN;
}

// The game's tables for one type at its number, with the frame count and order of its pack.
void SetUpTables(const Preview& preview)
{
    ClearGlobals();
    InitGlobals();
    CellTypeCount = preview.type;
    MaxFrameIndex = std::max(MaxFrameIndex, int32_t(preview.frames.size()) - 1);
    SizeTables();
    BilinearFiltering = int8_t(preview.filter);
    CellType& type = CellTypes[size_t(preview.type)];
    type.FrameCount = int8_t(std::min(preview.frames.size(), size_t(MOST_FRAMES)));
    type.AniType = int8_t(preview.definition.AniType);
}

// The type's frames made sprites and 3D sprites as the game's start-up makes them, on the
// screen; an error line for each frame that is no sprite.
std::vector<std::string> LoadFrames(const Preview& preview)
{
    SetTransparentColor(-1, MAGENTA);
    std::vector<std::string> failed;
    for (int32_t k = 0; k < CellTypes[size_t(preview.type)].FrameCount; ++k) {
        const std::vector<uint8_t>& frame = preview.frames[size_t(k)];
        intptr_t sprite = LoadSpriteFromMemory(DYNAMIC_OBJECT, frame.data(), int64_t(frame.size()),
                                               SPRITE_TEXTURE);
        CellSprite(preview.type, k)[1] = int32_t(sprite);
        if (sprite == 0)
            failed.push_back(preview.pack + ": entry " + std::to_string(k + 2) + " (frame " +
                             std::to_string(k + 1) + "): the game cannot make a sprite of it");
    }
    CreateDrawnSprites();
    CreateSprite3Ds();
    return failed;
}

// The opacity a cell of the type has at the top of its "trans" range, as the game keeps it.
int16_t CellOpacity(const Preview& preview)
{
    return int16_t(preview.definition.trans.high);
}

// Draws the cell as the game draws it, its pupils looking at a player straight ahead.
void DrawFrame(const Preview& preview, int32_t k, int32_t size, int32_t x, int32_t y)
{
    Cell cell{};
    cell.type = int8_t(preview.type);
    cell.size = float(size);
    cell.x = float(x);
    cell.y = float(y);
    cell.trans = CellOpacity(preview);
    cell.frame = float(k);
    PlayerX = cell.x + cell.size / 2 - PlayerSize / 2;
    PlayerY = cell.y - PREVIEW_PLAYER_DISTANCE - PlayerSize / 2;
    DrawCell(cell);
}

// The images the game shows one after the other, numbered from 1, each run shown once.
std::string AnimationOrder(const Preview& preview)
{
    const CellType& type = CellTypes[size_t(preview.type)];
    int32_t n = type.FrameCount, last = type.AniType == 0 ? 2 * n - 3 : n - 1;
    Cell cell{};
    cell.type = int8_t(preview.type);
    std::vector<int32_t> order;
    for (int32_t phase = 0; phase <= std::max(last, 0); ++phase) {
        cell.frame = float(phase);
        int32_t image = ImageIndex(cell) + 1;
        if (order.empty() || order.back() != image)
            order.push_back(image);
    }
    std::string text;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order.size() > 24 && i == 10) {
            text += " ...";
            i = order.size() - 4;
        }
        if (!text.empty())
            text += ' ';
        text += std::to_string(order[i]);
    }
    return text + (type.AniType == 0 ? ", then again (AniType 0: forward and back)"
                                     : ", then again (a loop)");
}

// The type's name, at most MOST_NAME_BYTES of it, cut between characters.
std::string ShownName(const std::string& name)
{
    constexpr size_t MOST_NAME_BYTES = 48;
    if (name.size() <= MOST_NAME_BYTES)
        return name;
    size_t end = MOST_NAME_BYTES;
    while (end > 0 && (uint8_t(name[end]) & 0xC0) == 0x80)
        --end;
    return name.substr(0, end) + "...";
}

// The caption, with the opacity the game draws: it keeps the low 8 bits of "trans".
Caption CaptionOf(const Preview& preview)
{
    int32_t written = preview.definition.trans.high, drawn = uint8_t(CellOpacity(preview));
    std::string opacity = std::to_string(drawn);
    if (drawn != written)
        opacity += " (trans " + std::to_string(written) + ", of which the game keeps 8 bits)";
    std::string name = Utf8Name(Utf8Path(preview.pack).filename());
    return {name + ": \"" + ShownName(preview.definition.Name) + "\", type " +
                std::to_string(preview.type) + ", opacity " + opacity + ", " +
                (preview.filter ? "bilinear filtering" : "point sampling"),
            "plays " + AnimationOrder(preview)};
}

void DrawLabels(const Preview& preview, const Caption& caption, const SheetLayout& layout)
{
    const uint32_t white = 0xFFFFFF, grey = 0xA0A0A0;
    StartDrawing(ScreenDrawTarget());
    SetDrawingMode(1);
    DrawText(MARGIN, MARGIN, caption.title.c_str(), white);
    DrawText(MARGIN, MARGIN + layout.lineHeight, caption.order.c_str(), white);
    for (int32_t k = 0; k < int32_t(preview.frames.size()); ++k) {
        int32_t x = 0, y = 0;
        CellPlace(layout, preview, k, 0, x, y);
        std::string number = std::to_string(k + 1);
        int32_t column = layout.labelWidth + k % layout.columns * layout.columnWidth;
        DrawText(column + (layout.columnWidth - DefaultFontTextWidth(number.c_str())) / 2,
                 y - MARGIN - layout.lineHeight, number.c_str(), white);
        for (size_t r = 0; k % layout.columns == 0 && r < preview.sizes.size(); ++r) {
            CellPlace(layout, preview, k, r, x, y);
            DrawText(MARGIN, y, SizeLabel(preview.sizes[r]).c_str(), grey);
        }
    }
    StopDrawing();
}

std::string DrawSheet(const Preview& preview, SheetLayout& layout, FramePixels& sheet,
                      std::vector<std::string>& failed)
{
    LoadDefaultFont();
    SetUpTables(preview);
    Caption caption = CaptionOf(preview);
    std::string error = LayOut(preview, caption, layout);
    if (!error.empty())
        return error;
    if (!InitSprite() || !InitSprite3D() || !OpenScreen(layout.width, layout.height, 32, "preview"))
        return "the screen of the preview cannot be opened";
    failed = LoadFrames(preview);
    ClearToWater();
    StartWorldScene();
    // Size by size, so that the eyes of type 14 follow each size's frames as one cell's do.
    for (size_t r = 0; r < preview.sizes.size(); ++r)
        for (int32_t k = 0; k < int32_t(preview.frames.size()); ++k) {
            int32_t x = 0, y = 0;
            CellPlace(layout, preview, k, r, x, y);
            DrawFrame(preview, k, preview.sizes[r], x, y);
        }
    Stop3D();
    DrawLabels(preview, caption, layout);
    FlipBuffers(0);
    int32_t width = 0, height = 0;
    const uint32_t* frame = HeadlessFrame(width, height);
    if (!frame)
        return "the preview was not drawn";
    sheet = FramePixels{};
    sheet.width = width;
    sheet.height = height;
    for (size_t i = 0; i < size_t(width) * size_t(height); ++i)
        sheet.rgba.insert(sheet.rgba.end(), {uint8_t(frame[i] >> 16), uint8_t(frame[i] >> 8),
                                             uint8_t(frame[i]), 255});
    FreeAllSprite3D();
    EndSprite();
    return "";
}

std::string ParsePreviewOptions(ParsedArguments& parsed, Preview& preview, std::string& output)
{
    if (!parsed.error.empty())
        return parsed.error;
    if (parsed.positional.size() != 1)
        return "expected one pack";
    output = parsed.options.count("-o") ? parsed.options["-o"] : parsed.options["--output"];
    if (output.empty())
        return "expected the sheet to write: -o SHEET.png";
    preview.pack = parsed.positional[0];
    preview.type = std::max(TypeFromName(preview.pack), 1);
    if (parsed.options.count("--type")) {
        std::string problem = ParseTypeOption(parsed.options["--type"], preview.type);
        if (!problem.empty())
            return problem;
    }
    if (parsed.options.count("--filter")) {
        long number = 0;
        if (!ParseWholeNumber(parsed.options["--filter"], 0, 1, number))
            return "--filter must be 0 (point sampling) or 1 (bilinear)";
        preview.filter = int32_t(number);
    }
    return "";
}

int RunPreview(const Arguments& arguments)
{
    ParsedArguments parsed = ParseArguments(arguments, {"-o", "--output", "--type", "--filter"});
    Preview preview;
    std::string output;
    std::string usage = ParsePreviewOptions(parsed, preview, output);
    if (!usage.empty())
        return UsageError(PreviewCommand, usage);
    std::string error = ReadPreview(preview.pack, preview);
    if (!error.empty())
        return Failure(error);
    SheetLayout layout;
    FramePixels sheet;
    std::vector<std::string> failed;
    error = DrawSheet(preview, layout, sheet, failed);
    if (!error.empty())
        return Failure(error);
    std::vector<uint8_t> png;
    error = EncodePng(sheet, png);
    if (!error.empty())
        return Failure(output + ": " + error);
    error = WriteFileBytes(output, png);
    if (!error.empty())
        return Failure(error);
    for (const std::string& line : failed)
        Failure(line);
    for (size_t r = 0; r < preview.sizes.size(); ++r)
        for (int32_t k = 0; k < int32_t(preview.frames.size()); ++k) {
            int32_t x = 0, y = 0;
            CellPlace(layout, preview, k, r, x, y);
            std::printf("%s: frame %d at %d pixels: x %d, y %d\n", output.c_str(), k + 1,
                        preview.sizes[r], x, y);
        }
    return failed.empty() ? EXIT_STATUS_SUCCESS : EXIT_STATUS_FAILURE;
}
} // namespace

const Command PreviewCommand = {
    "preview", "draw a pack's frames as the game draws them, into a sheet",
    "usage: cellpack preview [--type N] [--filter 0|1] PACK -o SHEET.png\n"
    "Draws every frame of the pack with the game's own cell drawing, on the runtime's screen\n"
    "without a window: over the water colour, keyed with FF00FF, at the opacity the game draws\n"
    "for the second value of its \"trans\" range, with bilinear filtering (--filter 0: point\n"
    "sampling), once at the smallest and once at the largest size of its \"size\" range, as a\n"
    "cell heading up. Types 3, 6, 13 and 14 get their pupils, looking at a player straight\n"
    "ahead. The type number is N, else the number of the pack's name (013.cell), else 1. Above\n"
    "the frames, the order in which the game shows them; above each frame its number. Writes\n"
    "SHEET.png and prints where each drawing's top-left corner lies on it; a frame the game\n"
    "cannot load is left out and reported, with exit status 1.\n",
    RunPreview};
