// Windows-style file names on Linux: separators, drive names, case-insensitive matching.
#include "runtime/core/path.h"

#include <dirent.h>
#include <sys/stat.h>

namespace {
char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool IsDriveName(std::string_view name)
{
    if (name.size() < 2 || name[1] != ':')
        return false;
    char letter = LowerAscii(name[0]);
    return letter >= 'a' && letter <= 'z';
}

bool Exists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The entry of the folder whose name equals the component in any letter case; of several,
// the smallest in byte order, so that the choice does not depend on the folder's order.
bool FindIgnoringCase(const std::string& folder, std::string_view component, std::string& found)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    bool any = false;
    while (const dirent* entry = readdir(dir)) {
        std::string_view name = entry->d_name;
        if (SameNameIgnoringCase(name, component) && (!any || name < found)) {
            found = name;
            any = true;
        }
    }
    closedir(dir);
    return any;
}

// Matches the components of a slash-separated path one by one.
std::string MatchComponents(const std::string& path)
{
    std::string result = path[0] == '/' ? "/" : "";
    size_t at = 0;
    while (at < path.size()) {
        size_t end = path.find('/', at);
        if (end == std::string::npos)
            end = path.size();
        std::string_view component(path.data() + at, end - at);
        at = end + 1;
        if (component.empty())
            continue;
        std::string candidate = result + std::string(component);
        std::string match;
        if (component != "." && component != ".." && !Exists(candidate) &&
            FindIgnoringCase(result, component, match)) {
            candidate = result + match;
        } else if (!Exists(candidate)) {
            // Nothing further can match below a component that does not exist.
            return candidate + (end < path.size() ? path.substr(end) : "");
        }
        result = candidate + (end < path.size() ? "/" : "");
    }
    return result;
}
} // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

std::string ResolvePath(std::string_view name)
{
    name = name.substr(0, name.find('\0'));
    if (name.empty() || IsDriveName(name))
        return {};
    std::string path(name);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    if (Exists(path))
        return path;
    return MatchComponents(path);
}

std::string FolderOfPath(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
