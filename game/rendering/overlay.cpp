// The debug overlay: the build line, the column of measured values and the seam markers,
// drawn with 2D drawing over the finished world.
#include "game/game.h"

void DrawOverlay(const DrawTarget* target)
{
    const uint32_t white = 0xFFFFFF;
    StartDrawing(target);
    SetDrawingMode(1);
    // Two pieces instead of one joined text: the overlay allocates nothing per frame.
    DrawText(DrawText(10, 10, "Alpha Built ", white), 10, BuildDate.c_str(), white);
    if (FpsDisplay > 0) {
        CountFrameForRate();
        OverlayLineText text;
        for (int32_t line = 0; line < OverlayValueCount; ++line)
            DrawText(ScreenWidth - 100, 10 + 30 * line, OverlayValueLine(line, text), white);
    }
    SeamMarker markers[8];
    int32_t count = SeamMarkers(markers);
    for (int32_t i = 0; i < count; ++i)
        DrawBox(markers[i].x, markers[i].y, markers[i].width, markers[i].height, markers[i].color);
    StopDrawing();
}
