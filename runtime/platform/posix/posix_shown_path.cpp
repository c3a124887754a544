// Paths shown on POSIX systems, where any byte but / may be part of a name.
#include "runtime/platform/shown_path.h"

#include "runtime/platform/shown_text.h"

std::string ShownPath(const std::string& path)
{
    return ShownText(path);
}
