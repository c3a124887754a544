// Between the headless backend's files.
#pragma once
#include <cstdint>

// The focus changed: a loss marks the display's contents lost.
void HeadlessDisplayFocus(int32_t active);
