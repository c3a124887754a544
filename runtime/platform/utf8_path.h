// Paths of the system (UTF-8 on every system) as the C++ library's paths and back. A plain
// string would take the system's old code page on Windows instead; on POSIX both are the bytes
// as they are.
#pragma once
#include <filesystem>
#include <string>

inline std::filesystem::path Utf8Path(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8Name(const std::filesystem::path& path)
{
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
