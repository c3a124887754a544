// Operations of the headless platform that tests use to drive it.
#pragma once
#include <cstdint>

// Moves the virtual clock forward.
void HeadlessAdvanceClock(uint32_t milliseconds);
