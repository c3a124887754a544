// The preferences syntax: parsing lines into entries and writing entries back as lines.
#include "runtime/core/preference_text.h"

#include "runtime/platform/name_case.h"

#include <new>

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

namespace {
bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// The cursor of the parser over the content.
struct Reader {
    const char* at;
    const char* end;

    bool AtTextEnd() const { return at == end || *at == '\0' || IsLineEnd(*at); }
    void SkipBlanks()
    {
        while (at < end && IsBlank(*at))
            ++at;
    }
    std::string_view RestOfText()
    {
        const char* start = at;
        while (!AtTextEnd())
            ++at;
        return {start, size_t(at - start)};
    }
    void SkipRestOfLine()
    {
        while (at < end && !IsLineEnd(*at))
            ++at;
        while (at < end && IsLineEnd(*at))
            ++at;
    }
};

bool Append(EntryList& list, EntryKind kind, std::string_view key, std::string_view text)
{
    auto* entry = new (std::nothrow) PreferenceEntry;
    if (!entry)
        return false;
    entry->kind = kind;
    entry->key = key;
    entry->text = text;
    InsertEntryAfter(list, list.last, entry);
    return true;
}

// Parses one line from its first non-blank character; false when memory ran out.
bool ParseLine(Reader& reader, EntryList& list)
{
    if (reader.AtTextEnd())
        return true;
    if (*reader.at == ';') {
        ++reader.at;
        if (reader.at < reader.end && *reader.at == ' ')
            ++reader.at;
        return Append(list, EntryKind::Comment, {}, reader.RestOfText());
    }
    if (*reader.at == '[') {
        const char* start = ++reader.at;
        while (!reader.AtTextEnd() && *reader.at != ']')
            ++reader.at;
        return Append(list, EntryKind::Group, {}, {start, size_t(reader.at - start)});
    }
    const char* start = reader.at;
    while (!reader.AtTextEnd() && *reader.at != '=')
        ++reader.at;
    const char* keyEnd = reader.at;
    while (keyEnd > start && IsBlank(keyEnd[-1]))
        --keyEnd;
    std::string_view value;
    if (reader.at < reader.end && *reader.at == '=') {
        ++reader.at;
        reader.SkipBlanks();
        value = reader.RestOfText();
    }
    return Append(list, EntryKind::Key, {start, size_t(keyEnd - start)}, value);
}

// Continuation bytes that follow a UTF-8 lead byte; -1 for a byte that cannot lead.
int ContinuationCount(unsigned char lead)
{
    if (lead < 0x80)
        return 0;
    if (lead < 0xC0)
        return -1;
    if (lead < 0xE0)
        return 1;
    if (lead < 0xF0)
        return 2;
    return lead < 0xF8 ? 3 : -1;
}
} // namespace

void InsertEntryAfter(EntryList& list, PreferenceEntry* after, PreferenceEntry* entry)
{
    entry->previous = after;
    entry->next = after ? after->next : list.first;
    (entry->next ? entry->next->previous : list.last) = entry;
    (after ? after->next : list.first) = entry;
}

void FreeEntries(EntryList& list)
{
    for (PreferenceEntry* entry = list.first; entry;) {
        PreferenceEntry* next = entry->next;
        delete entry;
        entry = next;
    }
    list = {};
}

bool ParsePreferences(const char* content, size_t length, EntryList& list)
{
    Reader reader{content, content + length};
    while (reader.at < reader.end) {
        reader.SkipBlanks();
        if (!ParseLine(reader, list)) {
            FreeEntries(list);
            return false;
        }
        // A zero byte ends a line's text early; stepping to the line end keeps the parser
        // moving instead of reading the same zero again.
        reader.SkipRestOfLine();
    }
    return true;
}

std::string PreferencesText(const EntryList& list, bool utf8)
{
    std::string text;
    if (!list.first)
        return text;
    if (utf8)
        text += "\xEF\xBB\xBF\r\n";
    for (const PreferenceEntry* entry = list.first; entry; entry = entry->next) {
        if (entry->kind == EntryKind::Group)
            text.append("[").append(entry->text).append("]");
        else if (entry->kind == EntryKind::Comment)
            text.append("; ").append(entry->text);
        else
            text.append(entry->key).append(" = ").append(entry->text);
        text += "\r\n";
    }
    return text;
}

std::string Latin1ToUtf8(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            result += c;
        } else {
            result += char(0xC0 | byte >> 6);
            result += char(0x80 | (byte & 0x3F));
        }
    }
    return result;
}

bool Utf8ToLatin1(std::string_view text, std::string& result)
{
    result.clear();
    for (size_t at = 0; at < text.size();) {
        auto lead = static_cast<unsigned char>(text[at++]);
        int following = ContinuationCount(lead);
        if (following < 0)
            return false;
        uint32_t value = following ? lead & (0x3F >> following) : lead;
        for (int i = 0; i < following; ++i, ++at) {
            if (at == text.size())
                return true;
            auto next = static_cast<unsigned char>(text[at]);
            if ((next & 0xC0) != 0x80)
                return false;
            value = value << 6 | (next & 0x3F);
        }
        if (value > 0xFF)
            return false;
        if (value == 0)
            return true;
        result += char(value);
    }
    return true;
}

PreferenceEntry* FindLeadingKey(const EntryList& list, std::string_view key)
{
    for (PreferenceEntry* entry = list.first; entry; entry = entry->next) {
        if (entry->kind == EntryKind::Group)
            break;
        if (entry->kind == EntryKind::Key && SameNameIgnoringCase(entry->key, key))
            return entry;
    }
    return nullptr;
}
