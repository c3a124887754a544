// Number and text conversion, with exactly defined digits, signs, limits and fields.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Decimal text without padding: 0, -1, -2147483648.
std::string IntegerToText(int32_t value);
// Leading spaces and tabs, one sign, decimal digits modulo 2^32; 0 without digits.
int32_t TextToInteger(std::string_view text);
// A decimal number as far as it reads (sign, digits, point, exponent), rounded to a float.
float TextToFloat(std::string_view text);
// Field index (from 1; below 1 counts as 1) of the text split at the delimiter's first byte;
// the empty text beyond the last field.
std::string TextField(std::string_view text, int32_t index, std::string_view delimiter);
