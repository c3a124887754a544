// Paths shown on Windows, which separates names by \ or / and allows neither in a name.
#include "runtime/platform/shown_path.h"

#include "runtime/platform/shown_text.h"

#include <string_view>

std::string ShownPath(const std::string& path)
{
    std::string_view rest = path;
    std::string text;
    for (size_t end; (end = rest.find_first_of("\\/")) != std::string_view::npos;) {
        text += ShownText(rest.substr(0, end)) + '\\';
        rest.remove_prefix(end + 1);
    }
    return text + ShownText(rest);
}
