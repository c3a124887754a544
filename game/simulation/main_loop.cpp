// The main loop: one pass per displayed frame, from the keyboard to the flip. Every speed is
// per frame; the flip's wait for the vertical blank paces the game.
#include "game/simulation/simulation.h"
#include "game/data/globals.h"
#include "game/rendering/rendering.h"

namespace {
// A quit asked for from the console (hang-up, interrupt, terminate) ends the game as Escape.
bool QuitRequested()
{
    return KeyDown(KEY_ESCAPE) != 0 || ConsoleQuitRequested();
}

void ReadKeys()
{
    PollKeyboard();
    // Escape only marks the end: the pass still runs to its flip.
    if (QuitRequested())
        QuitFlag = 1;
    if (KeyDown(KEY_S))
        Delay(250);
    // The pause: nothing is updated, drawn or flipped while P is held. A quit request from the
    // console ends it, so that a held key cannot keep the program from ending.
    while (KeyDown(KEY_P) && !ConsoleQuitRequested()) {
        Delay(250);
        PollKeyboard();
    }
}
} // namespace

void PassCell(Cell& cell, void (*draw)(const Cell& cell))
{
    BeginCellPass(cell);
    BehaviourStep(cell);
    WrapAnimation(cell);
    if (CellNearScreen(cell)) {
        draw(cell);
        PerceiveAndChoose(cell);
    }
}

void UpdateCells()
{
    ResetList(CellList);
    while (Cell* cell = NextElementOf<Cell>(CellList))
        PassCell(*cell, DrawCell);
}

bool RunMainLoopPass()
{
    ReadKeys();
    PollMouse();
    TakeMouseWorldPosition(MouseX(), MouseY());
    UpdatePlayerSpeed(MouseButton(1) != 0);
    UpdatePlayerHeading();
    MovePlayerAndCamera();
    StartWorldScene();
    ClearToWater();
    DrawBubbles();
    UpdateCells();
    DrawPlayerAndLight();
    DrawOverlay(ScreenDrawTarget());
    DisplayTransparentSprite(CURSOR_SPRITE, MouseWorldX - ScreenPosX, MouseWorldY - ScreenPosY);
    FlipBuffers(FlipMode);
    if (ConsoleQuitRequested())
        QuitFlag = 1;
    return QuitFlag != 1;
}

void RunMainLoop()
{
    while (RunMainLoopPass()) {
    }
}
