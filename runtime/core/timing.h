// Time in milliseconds and waiting, taken from the platform's monotonic clock.
#pragma once
#include <cstdint>

// Milliseconds since the system started; wraps after about 49.7 days.
uint32_t ElapsedMilliseconds();
// The calling thread sleeps that long.
void Delay(int32_t milliseconds);
