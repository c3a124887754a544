// Reading data keys through the preferences engine; numbers through the runtime's
// conversions, so they read the same as the game reads them.
#include "tools/makedata/key_file.h"

#include "runtime/runtime.h"

#include <filesystem>

namespace {
// A default no data file can hold as a value: it tells an absent key from an empty one.
constexpr const char* ABSENT = "\x01";

bool Read(const char* key, std::string& text)
{
    text = ReadPreferenceString(key, ABSENT);
    return text != ABSENT;
}
} // namespace

bool OpenKeyFile(const std::string& path)
{
    return std::filesystem::is_regular_file(path) && OpenPreferences(path) != 0;
}

void CloseKeyFile()
{
    ClosePreferences();
}

void ReadText(const char* key, std::string& value)
{
    std::string text;
    if (Read(key, text))
        value = text;
}

void ReadNumber(const char* key, double& value)
{
    std::string text;
    if (Read(key, text))
        value = TextToFloat(text);
}

void ReadWhole(const char* key, int32_t& value)
{
    std::string text;
    if (Read(key, text))
        value = TextToInteger(text);
}

void ReadColor(const char* key, Rgb& value)
{
    std::string text;
    if (!Read(key, text))
        return;
    value = {static_cast<double>(TextToInteger(TextField(text, 1, ","))),
             static_cast<double>(TextToInteger(TextField(text, 2, ","))),
             static_cast<double>(TextToInteger(TextField(text, 3, ",")))};
}

void ReadRange(const char* key, int32_t& first, int32_t& second)
{
    std::string text;
    if (!Read(key, text))
        return;
    first = TextToInteger(TextField(text, 1, "|"));
    second = TextToInteger(TextField(text, 2, "|"));
}
