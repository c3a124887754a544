// The preferences engine: small INI-style files of key lines, comment lines and group lines,
// one file at a time. Lookups and new keys concern the leading section only, from the first
// line up to the first group line; keys compare without regard to ASCII letter case.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Closes the open preferences first (as ClosePreferences), then opens and parses the file.
// Nonzero on success; 0 when the file cannot be opened (also a directory): reads then give
// their defaults, and writes are kept and create the file when the preferences are closed if
// it does not exist then (a file that is there and still refuses the open stays as it is).
int32_t OpenPreferences(std::string_view name);
// As OpenPreferences, but the text comes from memory (copied); closing writes nothing.
// Nonzero, also for an empty text.
int32_t OpenPreferencesFromMemory(const void* memory, int32_t length);
// Closes the open preferences first, then starts a new, empty file of that name without a
// byte-order mark. The file reaches the disk, replacing any old one, when the preferences are
// closed. 0 when it cannot be created (a directory of that name, a read-only file or folder).
int32_t CreatePreferences(std::string_view name);
// Writes a changed (or created) file back in its canonical form, then forgets it. The old
// file is replaced only by a complete new one (written beside it, then renamed). A file that
// was only read is never rewritten.
void ClosePreferences();

// The value with its blanks at both ends removed (converted from UTF-8 in a file with the
// byte-order mark; empty when that fails); the default, unchanged, when the key is absent.
std::string ReadPreferenceString(std::string_view key, std::string_view defaultText);
// The value read as atoi does (white space, one sign, decimal digits, modulo 2^32); the
// default when the key is absent.
int32_t ReadPreferenceLong(std::string_view key, int32_t defaultValue);
// Sets the key to the decimal value: the first occurrence keeps its place and takes the
// key's new spelling; a new key goes to the end of the leading section. Nonzero on success,
// 0 when nothing is open or memory ran out.
int32_t WritePreferenceLong(std::string_view key, int32_t value);
// A comment line directly after the entry last written (at the very start when nothing has
// been written since the open), so that comments and keys appear in call order. 1 on
// success, 0 when nothing is open or memory ran out.
int32_t PreferenceComment(std::string_view text);
