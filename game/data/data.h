// The game's data, read or made at start-up: the list of cell types and their definitions,
// cells and frames, the background bubbles, the preferences and the images.
#pragma once
#include "game/data/globals.h"

#include <cstdint>
#include <string>
#include <variant>

// The files of a world the game reads from its folder: the list of cell types (the packs lie
// beside it), the player's image and the bubbles' images, numbered from 1.
inline constexpr char CELL_LIST_NAME[] = "cell\\cell.ini";
inline constexpr char PLAYER_IMAGE_NAME[] = "gfx\\test.png";
inline constexpr int32_t BUBBLE_IMAGE_COUNT = 20;
inline std::string BubbleImageName(int32_t i)
{
    return "gfx\\Blase" + std::to_string(i) + ".png";
}

// The list of cell types.
// Opens cell\cell.ini as numbered file 0 and takes CellTypeCount from its first byte; false
// when the list cannot be opened.
bool OpenCellTypeList();
// Reads SpawnCount and FrameCount of types 1 to CellTypeCount into CellTypes (sized first),
// then closes the list.
void ReadCellTypeCounts();
// The number written with at least three digits: 1 gives "001", 12 "012", 123 "123".
std::string ThreeDigitNumber(int32_t n);

// Cell type definitions.
// A range of a definition: integer bounds, or hundredths for the decimal ranges; low <= high.
struct CellRange {
    int32_t low;
    int32_t high;
    bool operator==(const CellRange&) const = default;
};
// What a definition text gives, in the order its keys are read.
struct CellDefinition {
    std::string Name;
    int32_t Type, Front, AniType;
    CellRange size, angle_s, norm_angle_s, flew_angle_s, idle_anispeed, move_anispeed,
        flew_anispeed, norm_movespeed, flew_movespeed, accelaration, mentionradius, trans;
    uint32_t Color;
    int32_t Hp, Atk, Armor;
};
// The kinds of value a definition key holds: integers are read as atoi reads them, the ranges
// as "first|second", decimal ones in whole hundredths.
enum class DefinitionKind { Text, Integer, IntegerRange, DecimalRange };
// One key of a definition text: its kind, its default and the field of CellDefinition it fills.
struct CellDefinitionKey {
    const char* name;
    DefinitionKind kind;
    const char* defaultText; // the default as a definition writes it
    const char* defaultFrom; // nullptr, or the earlier key whose text read is the default instead
    std::variant<std::string CellDefinition::*, int32_t CellDefinition::*,
                 uint32_t CellDefinition::*, CellRange CellDefinition::*>
        field;
};
constexpr int32_t CELL_DEFINITION_KEY_COUNT = 20;
// The keys of a definition text, in reading order: the loader, the key list and the tools'
// checker all read this table.
extern const CellDefinitionKey CELL_DEFINITION_KEYS[CELL_DEFINITION_KEY_COUNT];
// Reads the definition from the open preferences, every absent key taking its default.
CellDefinition ReadCellDefinition();
// One bound of a range, from its part of the text: the integer, or the decimal in whole
// hundredths rounded halves to even.
int32_t RangeBound(const std::string& part, DefinitionKind kind);
// Appends count cells of type t to CellList, each value drawn from the definition's ranges.
void SpawnCells(int32_t t, const CellDefinition& definition, int32_t count, int32_t frameCount);
// Loads cell\NNN.cell: the record CellTypes(t), its cells and its frames. Empty on success,
// else the Loading-Error line to print.
std::string LoadCellType(int32_t t);
// Loads types 1 to CellTypeCount in order, first enlarging the frame table when a type has
// more frames than it holds; stops at the first error and returns its line, else empty.
std::string LoadCellTypes();
// Whether a Loading-Error line is that of a frame no sprite could be made of.
bool IsFrameLoadingError(const std::string& errorLine);

// Appends the wrap-around copies of a bubble to BubbleList, for the screen size in force.
void AddBubbleCopies(const Cell& bubble);
// The 6001 background bubbles with their copies.
void ScatterBubbles();

// The game's preferences file, in the folder it runs in.
inline constexpr char PREFERENCES_NAME[] = "pref.ini";
// The five values of pref.ini (each returns 0). WriteDefaultPreferences creates the file with
// the values in force and leaves it to the next close; ReadGamePreferences reads it.
int WriteDefaultPreferences();
int ReadGamePreferences();
// The "LoadingSaves..." stage: reads pref.ini, or creates it when there is none.
void LoadOrCreatePreferences();

// Assets, made in three stages at start-up.
// The default transparent color, the player's image and the twenty bubble images.
void LoadImageSprites();
// The cursor, the light, the empty squares and the pupils.
void CreateDrawnSprites();
// The 3D sprites of the player, the light, the bubbles, the pupils and every cell frame.
void CreateSprite3Ds();
