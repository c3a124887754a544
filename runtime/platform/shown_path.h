// File and folder paths shown to people on a terminal or in a message box: each name escaped
// as ShownText escapes any text, and the separators as the system writes them.
#pragma once
#include <string>

// POSIX: the path as ShownText shows it, since a backslash there is part of a name and must be
// told from an escape. Windows: every separator (\ or /) as one backslash, which can be no
// part of a name there, and the names between them escaped.
std::string ShownPath(const std::string& path);
