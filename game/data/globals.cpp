// The game's global values and their initial values: the settings, the world, the lists and
// tables, and the player, camera and debug values that the passes of the main loop change.
#include "game/data/globals.h"
#include "game/rendering/rendering.h"
#include "game/simulation/simulation.h"

std::string BuildDate;
std::string VersionText;
std::string TitleText;

int16_t ScreenWidth;
int16_t ScreenHeight;
int8_t ScreenDepth;
int8_t FlipMode;
int32_t WorldWidth;
int32_t WorldHeight;
int32_t ScreenPosX;
int32_t ScreenPosY;
int32_t BorderX;
int32_t BorderY;
float PlayerSize;
float PlayerAcceleration;
float PlayerDeceleration;
float PlayerMaxSpeed;
float PlayerTurnAcceleration;
float PlayerMaxTurn;
int8_t QuitFlag;
int8_t FpsDisplay;
int8_t BilinearFiltering;
int32_t GradientSize;
int32_t CellTypeCount;
int32_t MaxFrameIndex;

float PlayerX;
float PlayerY;
int32_t CellIdCounter;
int32_t Fps;
int32_t FrameCounter;
int32_t LastFpsTime;

float PlayerSpeed;
float PlayerAngle;
float PlayerTurn;
int32_t MouseWorldX;
int32_t MouseWorldY;
int32_t MouseBearing;
int32_t TurnDifference;
int32_t EdgeX;
int32_t EdgeY;
int32_t FrameIndex;
int32_t zAngle;
int32_t x_b;
int32_t y_b;
int32_t fh;
int32_t eyeAngle;

ElementList BubbleList;
ElementList CellList;

std::vector<CellType> CellTypes;
std::vector<SpriteSlots> SizeSprites;
std::vector<SpriteSlots> BubbleSprites;
std::vector<SpriteSlots> DotSprites;
std::vector<SpriteSlots> CellSprites;

SpriteSlots& CellSprite(int32_t type, int32_t frameIndex)
{
    return CellSprites[static_cast<size_t>(type) * (MaxFrameIndex + 1) + frameIndex];
}

void ClearGlobals()
{
    ScreenWidth = ScreenHeight = 0;
    ScreenDepth = FlipMode = QuitFlag = FpsDisplay = BilinearFiltering = 0;
    WorldWidth = WorldHeight = ScreenPosX = ScreenPosY = BorderX = BorderY = 0;
    PlayerSize = PlayerAcceleration = PlayerDeceleration = PlayerMaxSpeed = 0;
    PlayerTurnAcceleration = PlayerMaxTurn = PlayerX = PlayerY = 0;
    GradientSize = CellTypeCount = MaxFrameIndex = 0;
    CellIdCounter = Fps = FrameCounter = LastFpsTime = 0;
    PlayerSpeed = PlayerAngle = PlayerTurn = 0;
    MouseWorldX = MouseWorldY = MouseBearing = TurnDifference = EdgeX = EdgeY = 0;
    FrameIndex = zAngle = x_b = y_b = fh = eyeAngle = 0;
    Type14EyeRadius = 0;
    FreeList(BubbleList);
    FreeList(CellList);
    SinTable.fill(0);
    CosTable.fill(0);
    CellTypes.clear();
    SizeSprites.clear();
    BubbleSprites.clear();
    DotSprites.clear();
    CellSprites.clear();
}

void InitGlobals()
{
    ScreenWidth = 1024;
    ScreenHeight = 768;
    ScreenDepth = 32;
    FlipMode = 1;
    WorldWidth = 10000;
    WorldHeight = 10000;
    ScreenPosX = 0;
    ScreenPosY = 0;
    BorderX = 200;
    BorderY = 200;
    PlayerSize = 64.0f;
    PlayerAcceleration = 0.3f;
    PlayerDeceleration = 0.2f;
    PlayerMaxSpeed = 4.0f;
    PlayerTurnAcceleration = 0.75f;
    PlayerMaxTurn = 3.75f;
    QuitFlag = 0;
    FpsDisplay = 10;
    BilinearFiltering = 1;
    GradientSize = 1024;
    CellTypeCount = 5;
    MaxFrameIndex = FRAME_TABLE_SIZE - 1;
    // The game's lists carry the tag 7; nothing reads it.
    NewList(BubbleList, sizeof(Cell), nullptr, 7);
    NewList(CellList, sizeof(Cell), nullptr, 7);
}

void SizeTables()
{
    SizeSprites.assign(2049, SpriteSlots{});
    BubbleSprites.assign(21, SpriteSlots{});
    DotSprites.assign(7, SpriteSlots{});
    int32_t types = CellTypeCount > 0 ? CellTypeCount : 0;
    CellSprites.assign(static_cast<size_t>(types + 1) * (MaxFrameIndex + 1), SpriteSlots{});
    CellTypes.assign(static_cast<size_t>(types) + 1, CellType{});
}
