// Date formatting: the mask copied with its tokens replaced.
#include "runtime/core/date_format.h"

#include <ctime>
#include <strings.h>

namespace {
void AppendTwoDigits(std::string& text, int value)
{
    text += char('0' + value / 10 % 10);
    text += char('0' + value % 10);
}

bool StartsWithToken(std::string_view rest, const char* token)
{
    size_t length = std::char_traits<char>::length(token);
    return rest.size() >= length && strncasecmp(rest.data(), token, length) == 0;
}
} // namespace

std::string FormatDate(std::string_view mask, int32_t time)
{
    std::tm parts{};
    time_t seconds = time;
    bool broken = time >= 0 && gmtime_r(&seconds, &parts) != nullptr;
    int year = broken ? parts.tm_year + 1900 : 0;
    struct Token {
        const char* text;
        int value;
    } const tokens[] = {{"%yy", year % 100},
                        {"%mm", broken ? parts.tm_mon + 1 : 0},
                        {"%dd", broken ? parts.tm_mday : 0},
                        {"%hh", broken ? parts.tm_hour : 0},
                        {"%ii", broken ? parts.tm_min : 0},
                        {"%ss", broken ? parts.tm_sec : 0}};
    std::string text;
    for (size_t at = 0; at < mask.size();) {
        std::string_view rest = mask.substr(at);
        if (StartsWithToken(rest, "%yyyy")) {
            AppendTwoDigits(text, year / 100);
            AppendTwoDigits(text, year % 100);
            at += 5;
            continue;
        }
        size_t taken = 1;
        for (const Token& token : tokens) {
            if (StartsWithToken(rest, token.text)) {
                AppendTwoDigits(text, token.value);
                taken = 3;
                break;
            }
        }
        if (taken == 1)
            text += mask[at];
        at += taken;
    }
    return text;
}
