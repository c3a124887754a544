// Text between UTF-8, ISO 8859-1 and UTF-16, through Windows' own conversions.
#include "runtime/platform/windows/windows_text.h"

#include <windows.h>

std::wstring WideFromUtf8(std::string_view text)
{
    if (text.empty())
        return {};
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

std::string Utf8FromWide(std::wstring_view text)
{
    if (text.empty())
        return {};
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string bytes(size_t(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), length,
                            nullptr, nullptr);
    return bytes;
}

std::wstring WideFromLatin1(std::string_view text)
{
    std::wstring wide(text.size(), L'\0');
    for (size_t i = 0; i < text.size(); ++i)
        wide[i] = wchar_t(static_cast<unsigned char>(text[i]));
    return wide;
}
