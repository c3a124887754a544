// Names compared as the game's Windows-style names compare: without regard to letter case.
#pragma once
#include <string_view>

// An ASCII letter in lower case; any other byte as it is.
inline char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Equality of two names without regard to the case of ASCII letters.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);
