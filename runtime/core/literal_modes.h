// Choosing the literal width for a sequence of literals: 8 bits, or 7 bits above a base when
// the bytes keep to a window of 128 values (text does), switching where that pays.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct LiteralMode {
    uint8_t width; // 7 or 8
    uint8_t base;  // 0 for width 8
};

inline bool operator==(LiteralMode a, LiteralMode b)
{
    return a.width == b.width && a.base == b.base;
}

inline bool LiteralFits(LiteralMode mode, uint8_t byte)
{
    return mode.width == 8 || uint8_t(byte - mode.base) < 128;
}

// Whether one 7-bit mode holds every one of the bytes (a window of 128 values starting at a
// multiple of 4, as ChooseLiteralModes offers them).
bool OneNarrowModeFits(const uint8_t* bytes, size_t count);

// A mode for each literal, the first one set by a switch, minimising the bits of the
// literals and of the switches between them. May throw std::bad_alloc.
std::vector<LiteralMode> ChooseLiteralModes(const std::vector<uint8_t>& literals);
