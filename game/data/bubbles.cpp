// The background bubbles, scattered once at start, with copies beyond the world's edges so
// that the wrapping world can be drawn without seams.
#include "game/data/data.h"
#include "game/data/globals.h"
#include "game/simulation/simulation.h"

namespace {
constexpr int32_t BUBBLE_COUNT = 6001;

void AppendBubble(float x, float y, int16_t trans, int8_t type)
{
    Cell* bubble = AddElementOf<Cell>(BubbleList);
    if (!bubble)
        return;
    bubble->x = x;
    bubble->y = y;
    bubble->trans = trans;
    bubble->type = type;
}
} // namespace

void AddBubbleCopies(const Cell& original)
{
    const Cell bubble = original;
    // The screen size in force now: the defaults, since the preferences are read later.
    const int32_t w = WorldWidth, h = WorldHeight, sw = ScreenWidth, sh = ScreenHeight;
    const int32_t ix = RoundToInteger(bubble.x), iy = RoundToInteger(bubble.y);
    auto copy = [&](int64_t x, int64_t y) {
        AppendBubble(float(x), float(y), bubble.trans, bubble.type);
    };
    if (ix < sw) {
        copy(int64_t{w} + ix, iy);
        if (iy < sh)
            copy(int64_t{w} + ix, int64_t{h} + iy);
        if (iy > h - sh)
            copy(int64_t{w} + ix, int64_t{iy} - h);
    }
    if (ix > w - sw) {
        copy(int64_t{ix} - w, iy);
        if (iy < sh)
            copy(int64_t{ix} - w, int64_t{h} + iy);
        if (iy > h - sh)
            copy(int64_t{ix} - w, int64_t{iy} - h);
    }
    if (iy < sh)
        copy(ix, int64_t{h} + iy);
    if (iy > h - sh)
        copy(ix, int64_t{iy} - h);
}

void ScatterBubbles()
{
    for (int32_t n = 0; n < BUBBLE_COUNT; ++n) {
        Cell* bubble = AddElementOf<Cell>(BubbleList);
        if (!bubble)
            return;
        bubble->x = float(Random(WorldWidth) - 32);
        bubble->y = float(Random(WorldHeight) - 32);
        bubble->trans = int16_t(108 + Random(40));
        bubble->type = int8_t(1 + Random(19));
        AddBubbleCopies(*bubble);
    }
}
