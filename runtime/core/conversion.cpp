// Number and text conversion.
#include "runtime/core/conversion.h"

#include <cstdlib>

std::string IntegerToText(int32_t value)
{
    if (value == INT32_MIN)
        return "-2147483648";
    char digits[12];
    int length = 0;
    uint32_t magnitude = value < 0 ? uint32_t(-value) : uint32_t(value);
    do {
        digits[length++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    std::string text = value < 0 ? "-" : "";
    while (length)
        text += digits[--length];
    return text;
}

int32_t TextToInteger(std::string_view text)
{
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    uint32_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        value = value * 10u + uint32_t(text[at] - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

namespace {
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The length of the decimal number at the start of text: sign, digits with an optional point
// and fraction, an optional exponent. Hexadecimal, infinities and NaN are not numbers here.
size_t NumberLength(std::string_view text)
{
    size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        ++at;
    size_t digits = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at)
        ++digits;
    if (at < text.size() && text[at] == '.')
        for (++at; at < text.size() && IsDigit(text[at]); ++at)
            ++digits;
    if (digits == 0)
        return 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '-' || text[exponent] == '+'))
            ++exponent;
        if (exponent < text.size() && IsDigit(text[exponent])) {
            while (exponent < text.size() && IsDigit(text[exponent]))
                ++exponent;
            at = exponent;
        }
    }
    return at;
}
} // namespace

float TextToFloat(std::string_view text)
{
    size_t at = 0;
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    text.remove_prefix(at);
    size_t length = NumberLength(text);
    if (length == 0)
        return 0.0f;
    std::string number(text.substr(0, length));
    return static_cast<float>(std::strtod(number.c_str(), nullptr));
}

std::string TextField(std::string_view text, int32_t index, std::string_view delimiter)
{
    if (index < 1)
        index = 1;
    size_t start = 0;
    for (int32_t field = 1;; ++field) {
        size_t end = delimiter.empty() ? std::string_view::npos : text.find(delimiter[0], start);
        if (field == index)
            return std::string(
                text.substr(start, end == std::string_view::npos ? text.npos : end - start));
        if (end == std::string_view::npos)
            return "";
        start = end + 1;
    }
}
