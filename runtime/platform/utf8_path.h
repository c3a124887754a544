// Paths of the system (UTF-8 on every system) as the C++ library's paths, which on Windows
// would take a plain string in the system's old code page instead.
#pragma once
#include <filesystem>
#include <string>

inline std::filesystem::path Utf8Path(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}
