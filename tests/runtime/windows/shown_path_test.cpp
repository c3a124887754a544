// Paths in messages on Windows: one backslash per separator, whichever the path was written
// with, and each name still escaped as any text is.
#include "runtime/platform/shown_path.h"

#include <gtest/gtest.h>

namespace {
TEST(ShownPath, ShowsEverySeparatorAsOneBackslashAndEscapesTheNames)
{
    const struct {
        const char* path;
        const char* shown;
    } cases[] = {
        {"C:\\users\\Иван\\AppData\\Local\\Vellomira",
         "C:\\users\\Иван\\AppData\\Local\\Vellomira"},
        {"C:\\Vellomira/kept/cell\\mine.txt", "C:\\Vellomira\\kept\\cell\\mine.txt"},
        {"\\\\server\\share\\", "\\\\server\\share\\"},
        {"C:\\a\nb\\c\x01", "C:\\a\\nb\\c\\x01"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShownPath(c.path), c.shown) << c.path;
}
} // namespace
