// The simulation: the geometry the player and the cells share (rounding, the sine and cosine
// tables, angles and distances), the player and the camera, the cells' motion and behaviour, and
// the main loop that runs one pass of all of it per frame.
#pragma once
#include "game/data/globals.h"

#include <array>
#include <cstdint>

// Sine and cosine of i tenths of a degree, i = 0 to 3600.
constexpr int32_t TRIG_TABLE_SIZE = 3601;
extern std::array<float, TRIG_TABLE_SIZE> SinTable;
extern std::array<float, TRIG_TABLE_SIZE> CosTable;
// Fills SinTable and CosTable.
void BuildTrigTables();

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

// The view.
// Bubbles within 64 pixels of the screen and cells within 256 are drawn.
bool BubbleNearScreen(const Cell& bubble);
bool CellNearScreen(const Cell& cell);
// The player in the middle of the world and the screen centred on it.
void PlacePlayerAndCamera();

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
