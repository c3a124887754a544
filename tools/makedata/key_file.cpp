// Reading key lines. Numbers go through the runtime's conversions, so they read the same as the
// game reads them.
#include "tools/makedata/key_file.h"

#include "runtime/runtime.h"

#include <fstream>

namespace {
std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}
} // namespace

bool LoadKeyFile(const std::string& path, KeyFile& file)
{
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
        return false;
    std::string line;
    while (std::getline(stream, line)) {
        std::string text = Trim(line);
        if (text.empty() || text[0] == ';')
            continue;
        if (text[0] == '[')
            break;
        size_t equals = text.find('=');
        std::string key = Lower(Trim(text.substr(0, equals)));
        std::string value = equals == std::string::npos ? "" : Trim(text.substr(equals + 1));
        file.values.emplace(key, value); // the first of two equal keys wins
    }
    return true;
}

bool HasKey(const KeyFile& file, const char* key) { return file.values.count(Lower(key)) > 0; }

void ReadText(const KeyFile& file, const char* key, std::string& value)
{
    if (HasKey(file, key))
        value = file.values.at(Lower(key));
}

void ReadNumber(const KeyFile& file, const char* key, double& value)
{
    if (HasKey(file, key))
        value = TextToFloat(file.values.at(Lower(key)));
}

void ReadWhole(const KeyFile& file, const char* key, int32_t& value)
{
    if (HasKey(file, key))
        value = TextToInteger(file.values.at(Lower(key)));
}

void ReadColour(const KeyFile& file, const char* key, Rgb& value)
{
    if (!HasKey(file, key))
        return;
    const std::string& text = file.values.at(Lower(key));
    value = {static_cast<double>(TextToInteger(TextField(text, 1, ","))),
             static_cast<double>(TextToInteger(TextField(text, 2, ","))),
             static_cast<double>(TextToInteger(TextField(text, 3, ",")))};
}

void ReadRange(const KeyFile& file, const char* key, int32_t& first, int32_t& second)
{
    if (!HasKey(file, key))
        return;
    const std::string& text = file.values.at(Lower(key));
    first = TextToInteger(TextField(text, 1, "|"));
    second = TextToInteger(TextField(text, 2, "|"));
}
