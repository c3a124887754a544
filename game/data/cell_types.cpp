// Cell type definitions: each type's pack gives a definition text, read into the type's record
// and the ranges its cells are drawn from, and the type's animation frames.
#include "game/data/data.h"
#include "game/data/globals.h"
#include "game/simulation/simulation.h"

#include <algorithm>
#include <string_view>
#include <type_traits>
#include <utility>

constexpr CellDefinitionKey CELL_DEFINITION_KEYS[CELL_DEFINITION_KEY_COUNT] = {
    {"Name", DefinitionKind::Text, "Zelle", nullptr, &CellDefinition::Name},
    {"Type", DefinitionKind::Integer, "0", nullptr, &CellDefinition::Type},
    {"Front", DefinitionKind::Integer, "0", nullptr, &CellDefinition::Front},
    {"AniType", DefinitionKind::Integer, "0", nullptr, &CellDefinition::AniType},
    {"size", DefinitionKind::IntegerRange, "64|64", nullptr, &CellDefinition::size},
    {"angle_s", DefinitionKind::DecimalRange, "0.1|0.2", nullptr, &CellDefinition::angle_s},
    // A definition that gives only "angle_s" sets all three turn rates, and so on.
    {"norm_angle_s", DefinitionKind::DecimalRange, nullptr, "angle_s",
     &CellDefinition::norm_angle_s},
    {"flew_angle_s", DefinitionKind::DecimalRange, nullptr, "angle_s",
     &CellDefinition::flew_angle_s},
    {"idle_anispeed", DefinitionKind::DecimalRange, "0.02|0.03", nullptr,
     &CellDefinition::idle_anispeed},
    {"move_anispeed", DefinitionKind::DecimalRange, nullptr, "idle_anispeed",
     &CellDefinition::move_anispeed},
    {"flew_anispeed", DefinitionKind::DecimalRange, nullptr, "idle_anispeed",
     &CellDefinition::flew_anispeed},
    {"norm_movespeed", DefinitionKind::DecimalRange, "2|2", nullptr,
     &CellDefinition::norm_movespeed},
    {"flew_movespeed", DefinitionKind::DecimalRange, nullptr, "norm_movespeed",
     &CellDefinition::flew_movespeed},
    {"accelaration", DefinitionKind::DecimalRange, "0.2|0.2", nullptr,
     &CellDefinition::accelaration},
    {"mentionradius", DefinitionKind::DecimalRange, "200|200", nullptr,
     &CellDefinition::mentionradius},
    {"trans", DefinitionKind::IntegerRange, "160|170", nullptr, &CellDefinition::trans},
    {"color", DefinitionKind::Integer, "16777215", nullptr, &CellDefinition::Color},
    {"hp", DefinitionKind::Integer, "0", nullptr, &CellDefinition::Hp},
    {"atk", DefinitionKind::Integer, "0", nullptr, &CellDefinition::Atk},
    {"armor", DefinitionKind::Integer, "0", nullptr, &CellDefinition::Armor}};

namespace {
// The index of the earlier key whose text is key i's default; -1 when it has a default of its
// own. Found by name, so that a key added to the table cannot shift another key's source.
constexpr int32_t DefaultSource(int32_t i)
{
    const char* from = CELL_DEFINITION_KEYS[i].defaultFrom;
    for (int32_t j = 0; from && j < i; ++j)
        if (std::string_view(CELL_DEFINITION_KEYS[j].name) == from)
            return j;
    return -1;
}

constexpr bool EveryKeyHasADefault()
{
    for (int32_t i = 0; i < CELL_DEFINITION_KEY_COUNT; ++i)
        if (CELL_DEFINITION_KEYS[i].defaultFrom ? DefaultSource(i) < 0
                                                : !CELL_DEFINITION_KEYS[i].defaultText)
            return false;
    return true;
}
static_assert(EveryKeyHasADefault(), "a key's default names no earlier key");

CellRange Ordered(int32_t first, int32_t second)
{
    // A reversed range (or a value without the bar, whose second part reads 0) is drawn
    // between its bounds in order rather than from a negative span.
    return first <= second ? CellRange{first, second} : CellRange{second, first};
}

// The span a draw covers; Random takes at most the largest 32-bit number.
int32_t Span(CellRange range)
{
    return int32_t(std::min<int64_t>(int64_t(range.high) - range.low, INT32_MAX));
}

int32_t IntegerDraw(CellRange range)
{
    return int32_t(uint32_t(range.low) + uint32_t(Random(Span(range))));
}

float DecimalDraw(CellRange range)
{
    return float(Random(Span(range)) / 100.0 + range.low / 100.0);
}

std::string ErrorLine(int32_t t, const std::string& suffix)
{
    return "Loading-Error! -> " + ThreeDigitNumber(t) + suffix;
}

// The frames of type t from the entries after the definition, made sprites usable as textures
// (the color key is the default one set before the types load); frame 1 gives the width.
std::string LoadFrames(int32_t t)
{
    CellType& type = CellTypes[size_t(t)];
    for (int32_t k = 1; k <= type.FrameCount; ++k) {
        const uint8_t* entry = NextPackEntry();
        intptr_t sprite = entry ? LoadSpriteFromMemory(DYNAMIC_OBJECT, entry,
                                                       int64_t{PackEntrySize()}, SPRITE_TEXTURE)
                                : 0;
        if (sprite == 0)
            return ErrorLine(t, ".cell." + ThreeDigitNumber(k) + ".png");
        CellSprite(t, k - 1)[1] = int32_t(sprite);
    }
    if (type.FrameCount > 0)
        type.Width = int16_t(SpriteWidth(CellSprite(t, 0)[1]));
    return {};
}

// Makes room for the largest frame count of the list in the frame table.
void FitFrameTable()
{
    int32_t frames = 0;
    for (int32_t t = 1; t <= CellTypeCount; ++t)
        frames = std::max<int32_t>(frames, CellTypes[size_t(t)].FrameCount);
    if (frames <= MaxFrameIndex + 1)
        return;
    std::vector<SpriteSlots> old = std::move(CellSprites);
    int32_t oldRow = MaxFrameIndex + 1;
    MaxFrameIndex = frames - 1;
    CellSprites.assign(size_t(CellTypeCount + 1) * size_t(MaxFrameIndex + 1), SpriteSlots{});
    for (int32_t t = 0; t <= CellTypeCount; ++t)
        for (int32_t k = 0; k < oldRow && size_t(t * oldRow + k) < old.size(); ++k)
            CellSprite(t, k) = old[size_t(t * oldRow + k)];
}
} // namespace

int32_t RangeBound(const std::string& part, DefinitionKind kind)
{
    if (kind == DefinitionKind::IntegerRange)
        return TextToInteger(part);
    return RoundToInteger(TextToFloat(part) * 100.0f);
}

// The range a text such as "160|170" gives: integers, or decimals in whole hundredths.
CellRange ReadRange(const std::string& text, DefinitionKind kind)
{
    return Ordered(RangeBound(TextField(text, 1, "|"), kind),
                   RangeBound(TextField(text, 2, "|"), kind));
}

CellDefinition ReadCellDefinition()
{
    CellDefinition d{};
    // The texts read so far, some of which are the defaults of later keys.
    std::string texts[CELL_DEFINITION_KEY_COUNT];
    for (int32_t i = 0; i < CELL_DEFINITION_KEY_COUNT; ++i) {
        const CellDefinitionKey& key = CELL_DEFINITION_KEYS[i];
        const std::string fallback = key.defaultFrom ? texts[DefaultSource(i)] : key.defaultText;
        int32_t integer = TextToInteger(fallback);
        if (key.kind == DefinitionKind::Integer)
            integer = ReadPreferenceLong(key.name, integer);
        else
            texts[i] = ReadPreferenceString(key.name, fallback);
        std::visit(
            [&](auto field) {
                using Field = std::remove_reference_t<decltype(d.*field)>;
                if constexpr (std::is_same_v<Field, CellRange>)
                    d.*field = ReadRange(texts[i], key.kind);
                else if constexpr (std::is_same_v<Field, std::string>)
                    d.*field = texts[i];
                else
                    d.*field = static_cast<Field>(integer);
            },
            key.field);
    }
    return d;
}

void SpawnCells(int32_t t, const CellDefinition& d, int32_t count, int32_t frameCount)
{
    for (int32_t n = 0; n < count; ++n) {
        Cell* cell = AddElementOf<Cell>(CellList);
        if (!cell)
            return;
        cell->type = int8_t(t);
        cell->size = float(IntegerDraw(d.size));
        cell->x = float(Random(WorldWidth));
        cell->y = float(Random(WorldHeight));
        cell->angle = float(Random(360));
        cell->angle_s = DecimalDraw(d.angle_s);
        cell->norm_angle_s = DecimalDraw(d.norm_angle_s);
        cell->flew_angle_s = DecimalDraw(d.flew_angle_s);
        cell->trans = int16_t(IntegerDraw(d.trans));
        cell->idle_anispeed = DecimalDraw(d.idle_anispeed);
        cell->move_anispeed = DecimalDraw(d.move_anispeed);
        cell->flew_anispeed = DecimalDraw(d.flew_anispeed);
        cell->norm_movespeed = DecimalDraw(d.norm_movespeed);
        cell->flew_movespeed = DecimalDraw(d.flew_movespeed);
        cell->accelaration = DecimalDraw(d.accelaration);
        cell->mentionradius = DecimalDraw(d.mentionradius) * cell->size;
        // A negative frame count would draw an absurd phase; it has no frames, like 0.
        cell->frame = float(Random(std::max(frameCount, 0)));
        cell->id = CellIdCounter++;
    }
}

std::string LoadCellType(int32_t t)
{
    std::string pack = "cell\\" + ThreeDigitNumber(t) + ".cell";
    if (!OpenPack(pack.c_str()))
        return ErrorLine(t, ".cell");
    // Only a pack without any entry gives the default definition; a definition entry that is
    // there but broken must not pass for an empty one.
    const uint8_t* text = NextPackEntry();
    if (!text && !PackEndReached())
        return ErrorLine(t, ".cell.ini");
    int32_t length = text ? PackEntrySize() : 0;
    if (!OpenPreferencesFromMemory(text ? text : reinterpret_cast<const uint8_t*>(""), length))
        return ErrorLine(t, ".cell.ini");
    CellDefinition d = ReadCellDefinition();
    ClosePreferences();

    CellType& type = CellTypes[size_t(t)];
    type.Name = d.Name;
    type.Type = int8_t(d.Type);
    type.Front = int8_t(d.Front);
    type.AniType = int8_t(d.AniType);
    type.Hp = int16_t(d.Hp);
    type.Atk = int16_t(d.Atk);
    type.Armor = int16_t(d.Armor);
    type.Color = d.Color;
    SpawnCells(t, d, type.SpawnCount, type.FrameCount);
    return LoadFrames(t);
}

bool IsFrameLoadingError(const std::string& errorLine)
{
    const std::string frame = ".png";
    return errorLine.size() > frame.size() &&
           errorLine.compare(errorLine.size() - frame.size(), frame.size(), frame) == 0;
}

std::string LoadCellTypes()
{
    FitFrameTable();
    for (int32_t t = 1; t <= CellTypeCount; ++t) {
        std::string error = LoadCellType(t);
        if (!error.empty())
            return error;
    }
    return {};
}
