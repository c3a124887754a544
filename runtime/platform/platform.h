// The thin platform interface: the only calls the runtime makes to the system beneath it.
// Two backends implement it and one is linked: SDL2 for the game, headless for the tests.
#pragma once
#include <cstdint>

// Milliseconds of a monotonic clock since boot (headless: a virtual clock that only sleeping
// and the tests move).
uint32_t PlatformTicks();
// Sleeps that many milliseconds (headless: advances the virtual clock at once).
void PlatformSleep(uint32_t milliseconds);
