#include "runtime/runtime.h"

#include <gtest/gtest.h>

TEST(IntegerToText, SignsAndLimits)
{
    struct Case {
        int32_t value;
        const char* text;
    } cases[] = {
        {0, "0"}, {-1, "-1"}, {7, "7"}, {2147483647, "2147483647"}, {INT32_MIN, "-2147483648"}};
    for (const Case& c : cases)
        EXPECT_EQ(IntegerToText(c.value), c.text) << c.value;
}

TEST(TextToInteger, ReadsLeadingNumberModulo32Bits)
{
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {{"\t\t+42", 42},   {"  -17", -17}, {"-+5", 0},
                 {"123abc", 123},   {"007", 7},     {"2147483648", INT32_MIN},
                 {"4294967296", 0}, {"", 0},        {"abc", 0},
                 {"\n5", 0},        {" - 5", 0},    {"4294967295", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(TextToInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(TextToFloat, ReadsDecimalPrefixRoundedToFloat)
{
    struct Case {
        const char* text;
        float value;
    } cases[] = {{"0.1", 0.1f},        {" -2.5e2x", -250.0f}, {"1e", 1.0f},
                 {".5", 0.5f},         {"abc", 0.0f},         {"", 0.0f},
                 {"inf", 0.0f},        {"0x10", 0.0f},        {"+3.", 3.0f},
                 {"1.00000001", 1.0f}, {"  7|9", 7.0f}};
    for (const Case& c : cases)
        EXPECT_EQ(TextToFloat(c.text), c.value) << '"' << c.text << '"';
}

TEST(TextField, SplitsAtFirstDelimiterByte)
{
    struct Case {
        const char* text;
        int32_t index;
        const char* delimiter;
        const char* field;
    } cases[] = {{"160|170", 1, "|", "160"}, {"160|170", 2, "|", "170"},
                 {"160|170", 3, "|", ""},    {"160|170", 0, "|", "160"},
                 {"a||b", 2, "|", ""},       {"|a", 1, "|", ""},
                 {"a,b;c", 2, ",;", "b;c"},  {"abc", 1, "", "abc"},
                 {"abc", 2, "", ""},         {"", 1, "|", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(TextField(c.text, c.index, c.delimiter), c.field)
            << '"' << c.text << "\" field " << c.index << " at \"" << c.delimiter << '"';
}
