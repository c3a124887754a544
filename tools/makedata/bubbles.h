// The faint background bubbles: round, oval, paired and clustered, of many sizes.
#pragma once
#include "tools/makedata/canvas.h"

#include <cstdint>
#include <string>

struct BubbleRecipe {
    uint32_t seed = 1;
    int32_t smallest = 6; // edge of the smallest image, pixels
    int32_t largest = 48; // edge of the largest
    Rgb rim{70, 110, 130};
    Rgb glint{170, 210, 220};
    double alpha = 0.55; // opacity of the rim; the inside is much fainter
};

std::string ReadBubbleRecipe(const std::string& path, BubbleRecipe& recipe);
// Bubble image n (1 .. 20): the edge grows with n, the shape cycles through the kinds.
RgbImage DrawBubble(const BubbleRecipe& recipe, int32_t n);
