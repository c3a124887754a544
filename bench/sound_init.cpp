// Measures InitSound on the real platform: its result and how long it takes to give it (with
// no sound device it must answer 0 at once).
#include "runtime/runtime.h"

#include <chrono>
#include <cstdio>

int main()
{
    auto start = std::chrono::steady_clock::now();
    int32_t result = InitSound();
    double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("InitSound: %d in %.2f ms\n", result, ms);
    FreeAllSounds();
    return 0;
}
