// The game's globals, records and procedures: plain procedures over global values.
#pragma once
#include "runtime/runtime.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One kind of cell, read from its definition.
struct CellType {
    std::string Name;
    int8_t Type = 0;
    int8_t Front = 0;
    int8_t AniType = 0;
    int16_t Width = 0;
    uint32_t Color = 0;
    int16_t Hp = 0;
    int16_t Atk = 0;
    int16_t Armor = 0;
    int16_t SpawnCount = 0;
    int8_t FrameCount = 0;
};

// One living cell; also the record of a background bubble (x, y, type, trans only).
struct Cell {
    float x, y;
    int8_t type;
    float size;
    float angle;
    int8_t spin_dir;
    float angle_s;
    float norm_angle_s;
    float flew_angle_s;
    float target_angle;
    float idle_anispeed;
    float move_anispeed;
    float flew_anispeed;
    float norm_movespeed;
    float flew_movespeed;
    float turn;
    float speed;
    float accelaration;
    int8_t state;
    int16_t timer;
    float mentionradius;
    int16_t trans;
    int32_t id;
    float frame;
};
static_assert(std::is_trivially_copyable_v<Cell>, "list records are handed out zeroed");

// Behaviour states of a cell.
enum CellState : int8_t { Idle = 0, Flee = 1, Wander = 2, Chase = 3 };

// A sprite table entry: slot 1 holds the sprite, slot 0 the 3D sprite made from it.
using SpriteSlots = std::array<int32_t, 2>;

// Title texts.
extern std::string BuildDate;
extern std::string VersionText;
extern std::string TitleText;

// Globals, in the order in which start-up sets them.
extern int16_t ScreenWidth;
extern int16_t ScreenHeight;
extern int8_t ScreenDepth;
extern int8_t FlipMode;
extern int32_t WorldWidth;
extern int32_t WorldHeight;
extern int32_t ScreenPosX;
extern int32_t ScreenPosY;
extern int32_t BorderX;
extern int32_t BorderY;
extern float PlayerSize;
extern float PlayerAcceleration;
extern float PlayerDeceleration;
extern float PlayerMaxSpeed;
extern float PlayerTurnAcceleration;
extern float PlayerMaxTurn;
extern int8_t QuitFlag;
extern int8_t FpsDisplay;
extern int8_t BilinearFiltering;
extern int32_t GradientSize;
extern int32_t CellTypeCount;
extern int32_t MaxFrameIndex;

// Values that start at 0 and are set later.
extern float PlayerX;
extern float PlayerY;
extern int32_t CellIdCounter;
extern int32_t Fps;
extern int32_t FrameCounter;
extern int32_t LastFpsTime;

extern ElementList BubbleList;
extern ElementList CellList;

// Sine and cosine of i tenths of a degree, i = 0 to 3600.
constexpr int32_t TrigTableSize = 3601;
extern std::array<float, TrigTableSize> SinTable;
extern std::array<float, TrigTableSize> CosTable;

// CellTypes(1 .. CellTypeCount); entry 0 stays empty.
extern std::vector<CellType> CellTypes;
// Sprite tables, indexed [i][slot].
extern std::vector<SpriteSlots> SizeSprites;   // edges 1, 2, 4 ... 2048
extern std::vector<SpriteSlots> BubbleSprites; // bubble images 1 to 20
extern std::vector<SpriteSlots> DotSprites;    // dots 1 to 6
// The frames of every cell type: (CellTypeCount + 1) x (MaxFrameIndex + 1) entries.
extern std::vector<SpriteSlots> CellSprites;
SpriteSlots& CellSprite(int32_t type, int32_t frameIndex);

// The build moment shown in the titles: 2008-02-25 16:12:34 UTC.
constexpr int32_t BuildTime = 1203955954;

// Start-up pieces.
void ClearGlobals();
void BuildTitles();
void PrintBanner();
void InitGlobals();
void BuildTrigTables();
// Sizes SizeSprites, BubbleSprites, DotSprites, CellSprites and CellTypes, all entries zero.
void SizeTables();

// Prints the message, waits for a line, runs the end sequence; the exit status, 1.
int FatalError(const char* message);
// Releases the runtime services in their fixed order.
void EndSequence();

// Runs the whole game, from the first console line to the end sequence; the process's exit
// status: 0 after a normal quit, 1 after a fatal start-up error.
int RunGame();
