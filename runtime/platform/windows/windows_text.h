// Text between the program's byte strings and the UTF-16 of Windows' own calls.
#pragma once
#include <string>
#include <string_view>

// UTF-8 as UTF-16; bytes that are no UTF-8 become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
// UTF-16 as UTF-8.
std::string Utf8FromWide(std::wstring_view text);
// ISO 8859-1, whose 256 characters are the first 256 of UTF-16.
std::wstring WideFromLatin1(std::string_view text);
