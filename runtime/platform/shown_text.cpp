// Escaping text for a terminal.
#include "runtime/platform/shown_text.h"

#include <cstdint>
#include <cstdio>

namespace {
// The length of the UTF-8 sequence of a printable character at the start of text, or 0: a
// control character, a C1 control (U+0080 to U+009F), or bytes that are no UTF-8.
size_t PrintableSequence(std::string_view text)
{
    uint8_t lead = uint8_t(text[0]);
    if (lead >= 0x20 && lead < 0x7F)
        return 1;
    size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                    : lead >= 0xE0 && lead <= 0xEF ? 3
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                   : 0;
    if (length == 0 || text.size() < length)
        return 0;
    uint32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        uint8_t next = uint8_t(text[i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (next & 0x3F);
    }
    const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    bool valid = code >= least[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    return valid && code > 0x9F ? length : 0;
}
} // namespace

std::string ShownText(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    while (!text.empty()) {
        size_t length = text[0] == '\\' ? 0 : PrintableSequence(text);
        if (length > 0) {
            shown.append(text.substr(0, length));
            text.remove_prefix(length);
            continue;
        }
        char c = text[0];
        if (c == '\\' || c == '\n' || c == '\r' || c == '\t') {
            shown += '\\';
            shown += c == '\\' ? '\\' : c == '\n' ? 'n' : c == '\r' ? 'r' : 't';
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", unsigned(uint8_t(c)));
            shown += escape;
        }
        text.remove_prefix(1);
    }
    return shown;
}
