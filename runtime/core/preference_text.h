// The text side of the preferences engine: the entry list, the parser, the canonical text
// written back, and the UTF-8 conversions of files that carry the byte-order mark.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The characters around keys and values that do not count: space and tab.
bool IsBlank(char c);

enum class EntryKind : int8_t { Group, Comment, Key };

// One kept line. Parsed texts point into the content buffer of the file; texts set by a
// write live in the entry's own strings.
struct PreferenceEntry {
    PreferenceEntry* previous = nullptr;
    PreferenceEntry* next = nullptr;
    EntryKind kind = EntryKind::Key;
    std::string_view key;  // key entries only
    std::string_view text; // the value, the comment text or the group name
    std::string ownedKey;
    std::string ownedText;
};

struct EntryList {
    PreferenceEntry* first = nullptr;
    PreferenceEntry* last = nullptr;
};

// Links the entry directly after `after`, or at the front when `after` is none.
void InsertEntryAfter(EntryList& list, PreferenceEntry* after, PreferenceEntry* entry);
void FreeEntries(EntryList& list);

// Parses length bytes of content into the list, keeping views into the content. Any mix of
// CR, LF and empty lines separates lines; a zero byte ends the text of its line and the rest
// of that line is skipped. False when memory ran out, the list then empty.
bool ParsePreferences(const char* content, size_t length, EntryList& list);

// The canonical text of the list, every line ended by CR LF, behind the byte-order mark and a
// CR LF when utf8 is set; empty for an empty list. Throws std::bad_alloc.
std::string PreferencesText(const EntryList& list, bool utf8);

// Each byte from 80h becomes its two-byte UTF-8 sequence. Throws std::bad_alloc.
std::string Latin1ToUtf8(std::string_view text);
// UTF-8 sequences of values up to FFh become single bytes; a sequence cut short by the end is
// dropped, and the text ends at a decoded zero. False for a bad lead or continuation byte or
// a value above FFh. Throws std::bad_alloc.
bool Utf8ToLatin1(std::string_view text, std::string& result);

// The first key entry of the leading section (before the first group entry) whose key equals
// the given one without regard to the case of ASCII letters.
PreferenceEntry* FindLeadingKey(const EntryList& list, std::string_view key);
