// Text from files and folder names shown to people on a terminal: bytes that could steer the
// terminal (control characters, C1 controls, bytes that are no UTF-8) are shown as escapes.
#pragma once
#include <string>
#include <string_view>

// The text with \n, \r, \t, \\ and \xNN in place of those bytes; valid UTF-8 of printable
// characters as it is.
std::string ShownText(std::string_view text);
