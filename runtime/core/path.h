// Windows-style file names on Linux: either separator, and letter case that need not match.
#pragma once
#include <string>
#include <string_view>

// The Linux path for a name: both `\` and `/` separate components, the text ends at its first
// zero byte, and a path that does not exist as spelled is matched one component at a time
// without regard to the case of ASCII letters. Components that match nothing are kept as
// spelled, so the result also names a file still to be created. Empty when the name refers
// to nothing: an empty name, or one that starts with a drive letter and a colon.
std::string ResolvePath(std::string_view name);

// The folder part of a resolved path ("." for a bare name), for files made beside it.
std::string FolderOfPath(const std::string& path);

// Equality of two names without regard to the case of ASCII letters.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);
