// Data files in the preferences syntax, read through the runtime's preferences engine exactly
// as the game reads its definitions: the keys of the leading section, in any letter case.
// The engine holds one file at a time, so a file is read from open to close before the next.
#pragma once
#include "tools/makedata/canvas.h"

#include <cstdint>
#include <string>

// False when the file cannot be read.
bool OpenKeyFile(const std::string& path);
void CloseKeyFile();

// Each leaves the value as it is when the key is absent.
void ReadText(const char* key, std::string& value);
void ReadNumber(const char* key, double& value);
void ReadWhole(const char* key, int32_t& value);
// "red, green, blue", 0 .. 255 each.
void ReadColor(const char* key, Rgb& value);
// "first|second", as the cell definitions write ranges.
void ReadRange(const char* key, int32_t& first, int32_t& second);
