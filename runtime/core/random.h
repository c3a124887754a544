// The exact random generator: the same seed gives the same sequence on every machine.
#pragma once
#include <cstdint>

// A whole number from 0 to maximum, both included; seeds itself from the clock on first use.
// A negative maximum still advances the generator and gives -2147483648.
int32_t Random(int32_t maximum);
void RandomSeed(uint32_t seed);
