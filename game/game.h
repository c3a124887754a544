// The game's globals, records and procedures: plain procedures over global values.
#pragma once
#include "runtime/runtime.h"

#include <array>
#include <cstdint>
#include <string>
#include <variant>
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
inline constexpr const char* GameVersion = "0.3a";
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

// The game's numbered sprites and 3D sprites; every other one is dynamic.
constexpr int32_t CURSOR_SPRITE = 0; // sprite only
constexpr int32_t PLAYER_SPRITE = 1; // the sprite of gfx\test.png and its 3D sprite
constexpr int32_t LIGHT_SPRITE = 2;  // the light's sprite and its 3D sprite
extern int32_t CellTypeCount;
extern int32_t MaxFrameIndex;
// The frames of a type the frame table holds before it has to grow.
constexpr int32_t FrameTableSize = 100;

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

// Player, camera and debug values of the simulation; all start at 0.
extern float PlayerSpeed;     // pixels per frame, never below 0
extern float PlayerAngle;     // heading in degrees, 0 to 360
extern float PlayerTurn;      // degrees per frame, positive = clockwise
extern int32_t MouseWorldX;   // the mouse in world pixels, taken every pass
extern int32_t MouseWorldY;
extern int32_t MouseBearing;  // from the player's centre to the mouse
extern int32_t TurnDifference; // scratch of the heading and steering rules, 0 to 360
extern int32_t EdgeX;         // seam flags: +1 near the far seam, -1 near the near one, 0
extern int32_t EdgeY;
extern int32_t FrameIndex;    // the image index last computed for a cell
extern int32_t zAngle;        // debug: the last target heading a cell moved along
extern int32_t x_b;           // debug: the last cell's position, rounded
extern int32_t y_b;
extern int32_t fh;            // debug: 2 when the last backing cell swam forward, 1 backward
extern int32_t eyeAngle;      // debug: the bearing from the last drawn eye to the player

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

// Opens cell\cell.ini as numbered file 0 and takes CellTypeCount from its first byte; false
// when the list cannot be opened.
bool OpenCellTypeList();
// Reads SpawnCount and FrameCount of types 1 to CellTypeCount into CellTypes (sized first),
// then closes the list.
void ReadCellTypeCounts();
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
    int32_t defaultFrom;     // -1, or the key whose text read is the default instead
    std::variant<std::string CellDefinition::*, int32_t CellDefinition::*,
                 uint32_t CellDefinition::*, CellRange CellDefinition::*>
        field;
};
constexpr int32_t CellDefinitionKeyCount = 20;
// The keys of a definition text, in reading order: the loader, the key list and the tools'
// checker all read this table.
extern const CellDefinitionKey CellDefinitionKeys[CellDefinitionKeyCount];
// Reads the definition from the open preferences, every absent key taking its default.
CellDefinition ReadCellDefinition();
// One bound of a range, from its part of the text: the integer, or the decimal in whole
// hundredths rounded halves to even.
int32_t RangeBound(const std::string& part, DefinitionKind kind);
// The range a text such as "160|170" gives: integers, or decimals in whole hundredths.
CellRange IntegerRange(const std::string& text);
CellRange DecimalRange(const std::string& text);
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

// The five values of pref.ini (each returns 0). WriteDefaultPreferences creates the file with
// the values in force and leaves it to the next close; ReadGamePreferences reads it.
int WriteDefaultPreferences();
int ReadGamePreferences();
// The "LoadingSaves..." stage: reads pref.ini, or creates it when there is none.
void LoadOrCreatePreferences();

// Prints the message, and the hint (when there is one) on standard error with a word that
// Enter is awaited when the input is a terminal; waits for a line, runs the end sequence;
// the exit status, 1.
int FatalError(const char* message, const std::string& hint = {});
// The hints of the fatal start-up errors: what went wrong and what to change, for people.
std::string MissingCellListHint();
std::string ScreenHint();
std::string CellTypeHint(const std::string& errorLine);
// Releases the runtime services in their fixed order.
void EndSequence();

// The start-up after the console is open, from the titles to the player's placement: false
// when a fatal error ended it (its message printed, a line read, the end sequence run), with
// the exit status in status.
bool StartGame(int& status);
// Runs the whole game, from the first console line to the end sequence; the process's exit
// status: 0 after a normal quit, 1 after a fatal start-up error.
int RunGame();

// Rounding and tables.
// To the nearest integer, halves to even; NaN gives 0 and values beyond the range saturate.
int32_t RoundToInteger(double value);
// The index of an angle in SinTable and CosTable: tenths of a degree truncated, held within
// 0 to 3600 so that no angle reads outside the tables.
int32_t TrigIndex(float angle);

// Angles and distances, in whole degrees (0 up, 90 right, growing clockwise) and pixels.
// From point 1 toward point 2, 0 to 360; coincident points give 0.
int32_t Bearing(float x1, float y1, float x2, float y2);
// The distance rounded to the nearest integer.
int32_t Distance(float x1, float y1, float x2, float y2);
// a + b brought back into 0 to 360 by one turn; 360 itself stays.
int32_t AddAngle(int32_t a, int32_t b);
// The angle from heading b to direction a, 0 to 359.
int32_t AngleDifference(int32_t a, int32_t b);
// -1 or +1 at random.
int32_t RandomSign();

// The number written with at least three digits: 1 gives "001", 12 "012", 123 "123".
std::string ThreeDigitNumber(int32_t n);

// The player and the camera, one pass of the main loop.
float PlayerCentreX();
float PlayerCentreY();
// The mouse in world pixels, with the camera as the previous pass left it.
void TakeMouseWorldPosition(int32_t mouseX, int32_t mouseY);
// Accelerates while the button is down and the cursor is off the player, else slows down.
void UpdatePlayerSpeed(bool buttonDown);
// Turns the player toward the mouse with angular acceleration.
void UpdatePlayerHeading();
// Moves the player one step along its heading, scrolls the camera at the margins, wraps both
// at the world's seams and sets EdgeX and EdgeY.
void MovePlayerAndCamera();
// The camera part of the step: scrolls by the player's step (dx, dy) where it nears an edge
// heading toward the cursor.
void ScrollCamera(float dx, float dy);
// Moves player and camera together by the world's size when the player crosses a seam.
void WrapPlayerAtSeams();
// Sets EdgeX and EdgeY from the player's position.
void SetSeamFlags();

// Cell motion and animation.
float CellCentreX(const Cell& cell);
float CellCentreY(const Cell& cell);
// The cell's type; an empty type for a number outside the table.
const CellType& CellTypeOf(const Cell& cell);
// Timer, heading, re-homing across the seams and the debug position, at the start of a pass.
void BeginCellPass(Cell& cell);
// Chooses turn from the difference between angle and target_angle.
void SteerToward(Cell& cell, float rate);
// Adds accelaration while speed is below top.
void RampSpeed(Cell& cell, float top);
// One step of speed pixels at the heading.
void MoveAlong(Cell& cell, float heading);
// MoveAlong at target_angle, which also shows that heading in zAngle.
void MoveAlongTarget(Cell& cell);
// Restarts the animation phase at the end of its run.
void WrapAnimation(Cell& cell);
// The image to draw for the phase, also kept in FrameIndex; never below 0.
int32_t ImageIndex(const Cell& cell);

// Cell behaviour.
// The action of the cell's state for this pass; runs for every cell on every pass.
void BehaviourStep(Cell& cell);
// Perception of the player and the choice of state; runs for cells drawn this pass.
void PerceiveAndChoose(Cell& cell);

// The debug overlay's values.
// Counts a frame; every 60th measures the frame rate into Fps (the mean rate minus 2).
void CountFrameForRate();
constexpr int32_t OverlayValueCount = 12;
// Value line 0 to 11 of the overlay's column: Fps, the player's speed, angle and position,
// the camera and the debug values.
int32_t OverlayValue(int32_t line);
// The text of a value line: the decimal value followed by its label, e.g. "60 FPS".
using OverlayLineText = std::array<char, 32>;
const char* OverlayValueLine(int32_t line, OverlayLineText& text);
// A one-pixel line where a seam of the world (red) or the end of its wrap zone (yellow)
// crosses the screen.
struct SeamMarker {
    int32_t x, y, width, height;
    uint32_t color;
};
// The markers to draw this frame, in drawing order; their count, at most 8.
int32_t SeamMarkers(SeamMarker markers[8]);
// Draws the overlay on the target (the screen's back buffer in the main loop) and counts the
// frame for the frame rate while FpsDisplay is above 0.
void DrawOverlay(const DrawTarget* target);

// The eyes of cell types 3, 6, 13 and 14.
// One eye: radius and angle offset from the cell's heading about its centre, the divisor of
// the size that gives the pupil's reach toward the player, a downward lift of the pupil, the
// pupil image (DotSprites 1 to 6) and a vertical shift of the drawing.
struct EyePlacement {
    float radius;
    float delta;
    float divisor;
    float lift;
    int32_t dot;
    int32_t dy;
};
// The radius of the eyes of type 14 at their last image 0, 1 or 2; 0 before the first.
extern int32_t Type14EyeRadius;
// The eyes of the cell showing the image: their count (0, 1 or 2).
int32_t CellEyes(const Cell& cell, int32_t image, EyePlacement eyes[2]);
struct ScreenPoint {
    int32_t x, y;
};
// Where the pupil of the eye is drawn on the screen; sets eyeAngle.
ScreenPoint PupilPosition(const Cell& cell, const EyePlacement& eye);

// The view.
// Bubbles within 64 pixels of the screen and cells within 256 are drawn.
bool BubbleNearScreen(const Cell& bubble);
bool CellNearScreen(const Cell& cell);
// The player in the middle of the world and the screen centred on it.
void PlacePlayerAndCamera();

// World rendering, one pass.
// The back buffer in the colour of the water.
void ClearToWater();
// Begins the 3D scene with ordinary transparency.
void StartWorldScene();
// The background bubbles near the screen, each shifted by 0 or 1 pixel at random.
void DrawBubbles();
// The cell at its image, size, heading and opacity, with its eyes.
void DrawCell(const Cell& cell);
// The player at opacity 196, the light around it, the end of the 3D scene and the darkness.
void DrawPlayerAndLight();

// The main loop.
// One cell's part of a pass: its motion, behaviour and animation and, when it is near the
// screen, its drawing by draw and then its perception of the player.
void PassCell(Cell& cell, void (*draw)(const Cell& cell));
// Every cell moves and behaves on every pass; those near the screen are drawn and perceive.
void UpdateCells();
// One pass: keys, mouse, player, world, overlay, cursor, flip. False once the loop must end
// (Escape, or a quit asked for from the console), after that pass has shown its frame.
bool RunMainLoopPass();
void RunMainLoop();

// Assets, made in three stages at start-up.
// The default transparent colour, the player's image and the twenty bubble images.
void LoadImageSprites();
// The cursor, the light, the empty squares and the pupils.
void CreateDrawnSprites();
// The 3D sprites of the player, the light, the bubbles, the pupils and every cell frame.
void CreateSprite3Ds();

// Later start-up stages.
// White text on the back buffer, without background; no flip.
void ScreenMessage(int16_t x, int16_t y, const char* text);
// "OpeningScreen (...)...": asks for 60 Hz and opens the screen; false when it cannot be.
bool OpenGameScreen();
// "InitInits...": the nine service initialisations, each result on its own line.
void InitServices();
// Clears the new screen and shows "LoadingSprites..." on it and on the console.
void AnnounceFirstStage();
// Shows the stage's text at (10, y) between two flips and prints it.
void AnnounceStage(int16_t y, const char* text);
// Closes the screen, prints "Quit...", waits 100 ms and runs the end sequence; the status, 0.
int QuitSequence();
