// The later start-up stages: the service initialisations, the screen and the progress
// messages shown on it while the assets are made.
#include "game/startup/startup.h"
#include "game/data/globals.h"

void ScreenMessage(int16_t x, int16_t y, const char* text)
{
    StartDrawing(ScreenDrawTarget());
    SetDrawingMode(1);
    DrawText(x, y, text, WHITE);
    StopDrawing();
}

namespace {
void PrintResult(int32_t result)
{
    PrintLine(IntegerToText(result));
}

// The codec registrations cannot fail and give no result; they report 1 like a successful
// initialisation.
void PrintRegistered(void (*registration)())
{
    registration();
    PrintResult(1);
}
} // namespace

void InitServices()
{
    PrintLine("InitInits...");
    // The results are shown, not tested: a failed initialisation prints 0 and the game goes on.
    PrintResult(InitSprite());
    PrintResult(InitSprite3D());
    PrintResult(InitKeyboard());
    PrintResult(InitMouse());
    PrintResult(InitSound());
    PrintRegistered(RegisterPngDecoder);
    PrintRegistered(RegisterPngEncoder);
    PrintRegistered(RegisterJpegDecoder);
    PrintRegistered(RegisterJpegEncoder);
}

bool OpenGameScreen()
{
    PrintLine("OpeningScreen (" + IntegerToText(ScreenWidth) + "," + IntegerToText(ScreenHeight) +
              "," + IntegerToText(ScreenDepth) + ")...");
    SetFrameRate(60);
    return OpenScreen(ScreenWidth, ScreenHeight, ScreenDepth, TitleText) != 0;
}

void AnnounceFirstStage()
{
    ClearScreen(0);
    ScreenMessage(10, 30, "LoadingSprites...");
    PrintLine("LoadingSprites...");
    FlipBuffers(1);
}

void AnnounceStage(int16_t y, const char* text)
{
    // Drawn on whichever buffer is now the back buffer, so earlier messages may stay beside it.
    FlipBuffers(1);
    ScreenMessage(10, y, text);
    PrintLine(text);
    FlipBuffers(1);
}
