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
                 {"%yyyy-%mm-%dd %hh:%ii:%ss", 951782399, "2000-02-28 23:59:59"},
                 {"%yyyy-%mm-%dd %hh:%ii:%ss", 951782400, "2000-02-29 00:00:00"},
                 {"%yyyy-%mm-%dd", 951868800, "2000-03-01"},
                 {"%yyyy-%mm-%dd", 1078012800, "2004-02-29"},
                 {"%yyyy-%mm-%dd %hh:%ii:%ss", 1230767999, "2008-12-31 23:59:59"},
                 {"%yyyy-%mm-%dd %hh:%ii:%ss", 2147483647, "2038-01-19 03:14:07"},
                 {"%x%y 100%", 0, "%x%y 100%"},
                 {"%yyy", 0, "70y"},
                 {"%hh:%ii", -5, "00:00"},
                 {"%yyyy", -5, "0000"}};
    for (const Case& c : cases)
        EXPECT_EQ(FormatDate(c.mask, c.time), c.text) << c.mask << " at " << c.time;
}
