// Date formatting: the mask copied with its tokens replaced.
#include "runtime/core/date_format.h"

#include "runtime/platform/name_case.h"

namespace {
struct CivilTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The UTC date and time of a moment at or after 1970 in the Gregorian calendar, counted out
// by days (a year of March to February puts the leap day last), with no time zone to ask.
CivilTime BreakDown(int64_t seconds)
{
    int64_t days = seconds / 86400 + 719468; // days since 0000-03-01
    int64_t time = seconds % 86400;
    int64_t era = days / 146097;
    int64_t dayOfEra = days - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    CivilTime civil;
    civil.day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    civil.month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    civil.year = int(yearOfEra + era * 400 + (civil.month <= 2 ? 1 : 0));
    civil.hour = int(time / 3600);
    civil.minute = int(time / 60 % 60);
    civil.second = int(time % 60);
    return civil;
}

void AppendTwoDigits(std::string& text, int value)
{
    text += char('0' + value / 10 % 10);
    text += char('0' + value % 10);
}

bool StartsWithToken(std::string_view rest, const char* token)
{
    size_t length = std::char_traits<char>::length(token);
    return rest.size() >= length && SameNameIgnoringCase(rest.substr(0, length), token);
}
} // namespace

std::string FormatDate(std::string_view mask, int32_t time)
{
    // Times before 1970 cannot be broken down: every field shows 0.
    CivilTime parts = time >= 0 ? BreakDown(time) : CivilTime{};
    int year = parts.year;
    struct Token {
        const char* text;
        int value;
    } const tokens[] = {{"%yy", year % 100}, {"%mm", parts.month},  {"%dd", parts.day},
                        {"%hh", parts.hour}, {"%ii", parts.minute}, {"%ss", parts.second}};
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
