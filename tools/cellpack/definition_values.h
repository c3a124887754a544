// The values of a definition that the game gives meaning to, key by key, and what it makes of
// the others: it cuts them to the bits it keeps, or takes them as another value.
#pragma once
#include "game/data/data.h"

#include <cstdint>
#include <string>

struct ValueFinding {
    std::string what;     // what the game makes of the value, or "" when it has a meaning
    bool warning = false; // the game plays the value as another one; else it breaks or cuts it
};

// The finding for the value of the key, its text as written and what the game reads of it: an
// integer key's whole number as low and high, a range's two bounds, those of a decimal range
// in whole hundredths.
ValueFinding CheckValueMeaning(const CellDefinitionKey& key, const std::string& text, int32_t low,
                               int32_t high);
// The values of the key the game gives meaning to, as the definition template states them;
// "" for a key whose every value is taken as written.
std::string MeaningfulValues(const char* key);
