// Text from file and folder names shown on a terminal: what could steer it is escaped, the
// rest of UTF-8 stays readable.
#include "runtime/platform/shown_text.h"

#include <gtest/gtest.h>

TEST(ShownText, EscapesWhatCouldSteerATerminalAndKeepsReadableText)
{
    struct Case {
        std::string text, shown;
    } cases[] = {
        {"mods/zelle 2", "mods/zelle 2"},
        {"Gr\xC3\xBC\xC3\x9F"
         "e \xE2\x82\xAC \xF0\x9F\xA6\xA0",
         "Gr\xC3\xBC\xC3\x9F"
         "e \xE2\x82\xAC \xF0\x9F\xA6\xA0"},
        {"a\nb\rc\td\\e", "a\\nb\\rc\\td\\\\e"},
        {"\x1B]0;owned\x07\x1B[2J", "\\x1B]0;owned\\x07\\x1B[2J"},
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"del\x7F", "del\\x7F"},
        // C1 controls, raw (Latin-1 terminals obey them) and encoded as UTF-8.
        {"\x9B"
         "2J",
         "\\x9B2J"},
        {"\xC2\x9B"
         "2J",
         "\\xC2\\x9B2J"},
        {"\xC2\xA0", "\xC2\xA0"},
        // Bytes that are no UTF-8: stray, overlong, surrogates, cut short.
        {"\xFF\xFE", "\\xFF\\xFE"},
        {"\xC0\xAF", "\\xC0\\xAF"},
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},
        {"\xE2\x82", "\\xE2\\x82"},
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShownText(c.text), c.shown) << c.shown;
}
