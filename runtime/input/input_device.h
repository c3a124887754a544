// The states of an input device, as the keyboard and the mouse keep them.
#pragma once
#include <cstdint>

constexpr int32_t NO_DEVICE = 0;  // not made, or released
constexpr int32_t TO_ACQUIRE = 1; // made; the next poll takes it
constexpr int32_t ACQUIRED = 2;
