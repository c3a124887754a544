#include "runtime/runtime.h"

#include <gtest/gtest.h>

TEST(FormatDate, TokensInAnyCase)
{
    struct Case {
        const char* mask;
        int32_t time;
        const char* text;
    } cases[] = {{"%yy%mm%dd%hh%ii", 1203955954, "0802251612"},
                 {"%YY%MM%DD%HH%II", 1203955954, "0802251612"},
                 {"%yyyy-%mm-%dd %hh:%ii:%ss", 1203955954, "2008-02-25 16:12:34"},
                 {"%yyyy-%mm-%dd", 0, "1970-01-01"},
                 {"%x%y 100%", 0, "%x%y 100%"},
                 {"%yyy", 0, "70y"},
                 {"%hh:%ii", -5, "00:00"},
                 {"%yyyy", -5, "0000"}};
    for (const Case& c : cases)
        EXPECT_EQ(FormatDate(c.mask, c.time), c.text) << c.mask << " at " << c.time;
}
