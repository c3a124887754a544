// The debug overlay: the build line, the column of measured values (the frame rate among them)
// and the seam markers, drawn with 2D drawing over the finished world.
#include "game/rendering/rendering.h"
#include "game/data/globals.h"
#include "game/simulation/simulation.h"

#include <charconv>
#include <cstring>

void CountFrameForRate()
{
    FrameCounter += 1;
    if (FrameCounter != 60)
        return;
    uint32_t now = ElapsedMilliseconds();
    int32_t perFrame = static_cast<int32_t>(now - static_cast<uint32_t>(LastFpsTime)) / 60;
    // Sixty frames within less than 60 ms would divide by zero; the last rate stays then. A
    // negative time (the counter read as signed past 2^31 ms) gives the formula's value.
    if (perFrame != 0)
        Fps = 1000 / perFrame - 2;
    FrameCounter = 0;
    LastFpsTime = static_cast<int32_t>(ElapsedMilliseconds());
}

namespace {
const char* const VALUE_LABELS[OVERLAY_VALUE_COUNT] = {
    " FPS",        " Speed",    " Angle",  " X",   " Y",   " ScreenPosX",
    " ScreenPosY", " eyeAngle", " zAngle", " x_b", " y_b", " fh"};
} // namespace

int32_t OverlayValue(int32_t line)
{
    switch (line) {
    case 0:
        return Fps;
    case 1:
        return RoundToInteger(PlayerSpeed);
    case 2:
        return RoundToInteger(PlayerAngle);
    case 3:
        return RoundToInteger(PlayerX);
    case 4:
        return RoundToInteger(PlayerY);
    case 5:
        return ScreenPosX;
    case 6:
        return ScreenPosY;
    case 7:
        return eyeAngle;
    case 8:
        return zAngle;
    case 9:
        return x_b;
    case 10:
        return y_b;
    default:
        return fh;
    }
}

const char* OverlayValueLine(int32_t line, OverlayLineText& text)
{
    // Written into the caller's buffer: the overlay allocates nothing per frame.
    char* end = std::to_chars(text.data(), text.data() + 12, OverlayValue(line)).ptr;
    const char* label = VALUE_LABELS[line < 0 || line >= OVERLAY_VALUE_COUNT ? 0 : line];
    std::memcpy(end, label, std::strlen(label) + 1);
    return text.data();
}

int32_t SeamMarkers(SeamMarker markers[8])
{
    const uint32_t red = ColorRGB(255, 0, 0);
    const uint32_t yellow = ColorRGB(255, 255, 0);
    int32_t count = 0;
    auto add = [&](int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color) {
        markers[count++] = SeamMarker{x, y, width, height, color};
    };
    if (ScreenWidth > PlayerX) {
        add(-ScreenPosX, 0, 1, ScreenHeight, red);
        add(-ScreenPosX + ScreenWidth, 0, 1, ScreenHeight, yellow);
    }
    if (ScreenPosX < PlayerX - PlayerSize) {
        add(WorldWidth - ScreenPosX - 1, 0, 1, ScreenHeight, red);
        add(WorldWidth - ScreenPosX + ScreenWidth - 1, 0, 1, ScreenHeight, yellow);
    }
    if (ScreenHeight > PlayerY) {
        add(0, -ScreenPosY, ScreenWidth, 1, red);
        add(0, -ScreenPosY + ScreenHeight, ScreenWidth, 1, yellow);
    }
    if (ScreenPosY < PlayerY - PlayerSize) {
        add(0, WorldHeight - ScreenPosY - 1, ScreenWidth, 1, red);
        add(0, WorldHeight - ScreenPosY + ScreenHeight - 1, ScreenWidth, 1, yellow);
    }
    return count;
}

void DrawOverlay(const DrawTarget* target)
{
    StartDrawing(target);
    SetDrawingMode(1);
    // Two pieces instead of one joined text: the overlay allocates nothing per frame.
    DrawText(DrawText(10, 10, "Alpha Built ", WHITE), 10, BuildDate.c_str(), WHITE);
    if (FpsDisplay > 0) {
        CountFrameForRate();
        OverlayLineText text;
        for (int32_t line = 0; line < OVERLAY_VALUE_COUNT; ++line)
            DrawText(ScreenWidth - 100, 10 + 30 * line, OverlayValueLine(line, text), WHITE);
    }
    SeamMarker markers[8];
    int32_t count = SeamMarkers(markers);
    for (int32_t i = 0; i < count; ++i)
        DrawBox(markers[i].x, markers[i].y, markers[i].width, markers[i].height, markers[i].color);
    StopDrawing();
}
