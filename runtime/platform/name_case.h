// Names compared as the game's Windows-style names compare: without regard to letter case.
#pragma once
#include <string_view>

// Equality of two names without regard to the case of ASCII letters.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);
