// Key lines of a data file in the preferences syntax (comments with ';', the keys of the
// leading section, looked up without regard to case), read into typed values.
#pragma once
#include "tools/makedata/canvas.h"

#include <cstdint>
#include <map>
#include <string>

struct KeyFile {
    std::map<std::string, std::string> values; // keys in lower case
};

bool LoadKeyFile(const std::string& path, KeyFile& file);
bool HasKey(const KeyFile& file, const char* key);
// Each leaves the value as it is when the key is absent.
void ReadText(const KeyFile& file, const char* key, std::string& value);
void ReadNumber(const KeyFile& file, const char* key, double& value);
void ReadWhole(const KeyFile& file, const char* key, int32_t& value);
// "red, green, blue", 0 .. 255 each.
void ReadColour(const KeyFile& file, const char* key, Rgb& value);
// "first|second", as the cell definitions write ranges.
void ReadRange(const KeyFile& file, const char* key, int32_t& first, int32_t& second);
