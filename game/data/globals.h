// The game's records and its global values: the settings in the order start-up sets them, the
// world, the lists and sprite tables, and the player, camera and debug values that the passes of
// the main loop change; with the procedures that clear them, give them their first values and
// size the tables.
#pragma once
#include "runtime/runtime.h"

#include <array>
#include <cstdint>
#include <string>
#include <type_traits>
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
// The version of the game, which its titles and its tools show.
inline constexpr const char* GAME_VERSION = "0.3a";
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

// The color key of the game's sprites: pixels of it are not drawn.
constexpr uint32_t MAGENTA = 0xFF00FF;
// The colors the game draws its cursor, its texts and its shapes with.
constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t BLACK = 0;
// The game's numbered sprites and 3D sprites; every other one is dynamic.
constexpr int32_t CURSOR_SPRITE = 0; // sprite only
constexpr int32_t PLAYER_SPRITE = 1; // the sprite of gfx\test.png and its 3D sprite
constexpr int32_t LIGHT_SPRITE = 2;  // the light's sprite and its 3D sprite
extern int32_t CellTypeCount;
extern int32_t MaxFrameIndex;
// The frames of a type the frame table holds before it has to grow.
constexpr int32_t FRAME_TABLE_SIZE = 100;

// Values that start at 0 and are set later.
extern float PlayerX;
extern float PlayerY;
extern int32_t CellIdCounter;
extern int32_t Fps;
extern int32_t FrameCounter;
extern int32_t LastFpsTime;

extern ElementList BubbleList;
extern ElementList CellList;

// CellTypes(1 .. CellTypeCount); entry 0 stays empty.
extern std::vector<CellType> CellTypes;
// Sprite tables, indexed [i][slot].
extern std::vector<SpriteSlots> SizeSprites;   // edges 1, 2, 4 ... 2048
extern std::vector<SpriteSlots> BubbleSprites; // bubble images 1 to 20
extern std::vector<SpriteSlots> DotSprites;    // dots 1 to 6
// The frames of every cell type: (CellTypeCount + 1) x (MaxFrameIndex + 1) entries.
extern std::vector<SpriteSlots> CellSprites;
SpriteSlots& CellSprite(int32_t type, int32_t frameIndex);

// Player, camera and debug values of the simulation; all start at 0.
extern float PlayerSpeed;   // pixels per frame, never below 0
extern float PlayerAngle;   // heading in degrees, 0 to 360
extern float PlayerTurn;    // degrees per frame, positive = clockwise
extern int32_t MouseWorldX; // the mouse in world pixels, taken every pass
extern int32_t MouseWorldY;
extern int32_t MouseBearing;   // from the player's centre to the mouse
extern int32_t TurnDifference; // scratch of the heading and steering rules, 0 to 360
extern int32_t EdgeX;          // seam flags: +1 near the far seam, -1 near the near one, 0
extern int32_t EdgeY;
extern int32_t FrameIndex; // the image index last computed for a cell
extern int32_t zAngle;     // debug: the last target heading a cell moved along
extern int32_t x_b;        // debug: the last cell's position, rounded
extern int32_t y_b;
extern int32_t fh;       // debug: 2 when the last backing cell swam forward, 1 backward
extern int32_t eyeAngle; // debug: the bearing from the last drawn eye to the player

// Sets every global value to 0 (SinTable and CosTable too) and frees the lists and tables.
void ClearGlobals();
// The first values of the settings and of the world, and the two lists, empty.
void InitGlobals();
// Sizes SizeSprites, BubbleSprites, DotSprites, CellSprites and CellTypes, all entries zero.
void SizeTables();
