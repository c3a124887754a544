// Date formatting with masks such as "%yy%mm%dd%hh%ii".
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The mask with %yyyy, %yy, %mm, %dd, %hh, %ii and %ss (any letter case) replaced by the parts
// of the time (seconds since 1970-01-01 00:00:00 UTC) in UTC. Times before 1970 cannot be
// broken down: their fields read 00 and the year 0000.
std::string FormatDate(std::string_view mask, int32_t time);
