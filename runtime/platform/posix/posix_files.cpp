// Files on a POSIX system: the game's Windows-style names matched to the file system, which
// tells letter case apart, and the operations by name and descriptor beneath the runtime's
// files and preferences.
#include "runtime/platform/name_case.h"
#include "runtime/platform/system.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
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

bool HasWildCard(std::string_view name)
{
    return name.find_first_of("*?") != std::string_view::npos;
}

// The first entry, in name order, that the last component matches as a pattern.
bool StatFirstMatch(const std::string& path, struct stat& info)
{
    std::string folder = SystemFolderOfPath(path);
    std::string pattern = path.substr(path.find_last_of('/') + 1);
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return false;
    std::string first;
    bool any = false;
    while (const dirent* entry = readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == ".." || fnmatch(pattern.c_str(), entry->d_name, FNM_CASEFOLD))
            continue;
        if (!any || name < first)
            first = name;
        any = true;
    }
    closedir(dir);
    return any && stat((folder + "/" + first).c_str(), &info) == 0;
}
} // namespace

const char SYSTEM_NULL_DEVICE[] = "/dev/null";

std::string SystemResolvePath(std::string_view name)
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

std::string SystemFolderOfPath(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string SystemWorkingFolder()
{
    char* folder = getcwd(nullptr, 0);
    std::string path = folder ? folder : "";
    std::free(folder);
    return path;
}

int SystemOpenFile(const std::string& path, int flags)
{
    int handle = open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (handle < 0)
        return -1;
    struct stat info;
    if (fstat(handle, &info) != 0 || S_ISDIR(info.st_mode) ||
        fcntl(handle, F_SETFL, fcntl(handle, F_GETFL) & ~O_NONBLOCK) != 0) {
        // A folder is refused as the system refuses to read one, so that the error says so.
        int refused = S_ISDIR(info.st_mode) ? EISDIR : errno;
        close(handle);
        errno = refused;
        return -1;
    }
    return handle;
}

bool SystemSyncFile(int descriptor)
{
    return fsync(descriptor) == 0;
}

int64_t SystemFileSize(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0 &&
        !(HasWildCard(path.substr(path.find_last_of('/') + 1)) && StatFirstMatch(path, info)))
        return FILE_MISSING;
    return S_ISDIR(info.st_mode) ? FILE_IS_FOLDER : int64_t(info.st_size);
}

bool SystemEntryExists(const std::string& path)
{
    // An entry that cannot be looked at (no permission on the folder) may still be there.
    struct stat info;
    return lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

bool SystemMayReplace(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) != 0 ||
           (!S_ISDIR(info.st_mode) && access(path.c_str(), W_OK) == 0);
}

bool SystemRemoveFile(const std::string& path)
{
    return unlink(path.c_str()) == 0;
}

std::string SystemFollowLinks(const std::string& path)
{
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string real = resolved;
    std::free(resolved);
    return real;
}

bool SystemReplaceFile(const std::string& source, const std::string& target)
{
    struct stat info;
    if (stat(target.c_str(), &info) == 0)
        chmod(source.c_str(), info.st_mode & 07777);
    return rename(source.c_str(), target.c_str()) == 0;
}

bool SystemLinkFile(const std::string& existing, const std::string& second)
{
    return link(existing.c_str(), second.c_str()) == 0;
}

std::string SystemMakeTemporaryFile(const char* prefix)
{
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        return {};
    std::string name = (folder / (std::string(prefix) + "XXXXXX")).string();
    int descriptor = mkstemp(name.data());
    if (descriptor < 0)
        return {};
    close(descriptor);
    return name;
}

uint32_t SystemProcessNumber()
{
    return uint32_t(getpid());
}
