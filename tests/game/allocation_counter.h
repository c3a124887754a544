// Counts the allocations made through operator new while counting is on, to show that a part
// of the program allocates nothing.
#pragma once
#include <cstdint>

void StartCountingAllocations();
// The allocations since the start; counting stops.
int64_t StopCountingAllocations();
