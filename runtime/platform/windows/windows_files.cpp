// Files on Windows: the game's names are Windows names already, so they go to the system as
// they are, through its UTF-16 calls; the C library's descriptors carry the bytes unchanged.
#include "runtime/platform/system.h"
#include "runtime/platform/windows/windows_text.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace {
bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Drives are named by a letter and a colon, with or without the backslash of their root.
int64_t DriveSize(const std::string& path)
{
    std::wstring root = WideFromUtf8(path);
    if (root.size() == 2)
        root += L'\\';
    UINT type = GetDriveTypeW(root.c_str());
    return type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR ? FILE_MISSING : FILE_IS_FOLDER;
}

// False, with the C library's word in errno for the system's last error, so that a message
// can say why.
bool Failed()
{
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        errno = ENOENT;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        errno = EACCES;
        break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        errno = EEXIST;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        errno = ENOSPC;
        break;
    case ERROR_WRITE_PROTECT:
        errno = EROFS;
        break;
    case ERROR_NOT_SAME_DEVICE:
        errno = EXDEV;
        break;
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED:
        errno = ENOTSUP;
        break;
    default:
        errno = EIO;
    }
    return false;
}

int64_t FoundSize(const WIN32_FIND_DATAW& found)
{
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return FILE_IS_FOLDER;
    return int64_t((uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
}
} // namespace

const char SYSTEM_NULL_DEVICE[] = "NUL";

std::string SystemResolvePath(std::string_view name)
{
    return std::string(name.substr(0, name.find('\0')));
}

std::string SystemFolderOfPath(const std::string& path)
{
    size_t separator = path.find_last_of("\\/");
    bool drive = path.size() >= 2 && path[1] == ':';
    if (separator == std::string::npos)
        return drive ? path.substr(0, 2) : ".";
    // The root of the drive or of the current drive keeps its separator.
    if (separator == 0 || (drive && separator == 2))
        return path.substr(0, separator + 1);
    return path.substr(0, separator);
}

std::string SystemWorkingFolder()
{
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(length, L'\0');
    if (length == 0 || GetCurrentDirectoryW(length, folder.data()) != length - 1)
        return {};
    folder.resize(length - 1);
    return Utf8FromWide(folder);
}

int SystemOpenFile(const std::string& path, int flags)
{
    std::wstring name = WideFromUtf8(path);
    // A file marked read-only is never written, as Windows refuses it to everyone; Wine run by
    // root would let it through.
    DWORD attributes = GetFileAttributesW(name.c_str());
    if ((flags & (O_WRONLY | O_RDWR | O_TRUNC)) && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY)) {
        errno = EACCES;
        return -1;
    }
    // A folder never opens as a file here: the system refuses it.
    return _wopen(name.c_str(), flags | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

bool SystemSyncFile(int descriptor)
{
    return _commit(descriptor) == 0;
}

int64_t SystemFileSize(const std::string& path)
{
    if ((path.size() == 2 || path.size() == 3) && path[1] == ':')
        return DriveSize(path);
    // Looked up as a folder listing would, so wild cards give the first entry found.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WideFromUtf8(path).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        return FoundSize(found);
    }
    // A share (\\server\share) lists nothing of itself but has attributes.
    if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return FILE_IS_FOLDER;
    }
    return FILE_MISSING;
}

bool SystemEntryExists(const std::string& path)
{
    if (GetFileAttributesW(WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool SystemMayReplace(const std::string& path)
{
    DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
}

bool SystemRemoveFile(const std::string& path)
{
    return DeleteFileW(WideFromUtf8(path).c_str()) || Failed();
}

std::string SystemFollowLinks(const std::string& path)
{
    return path;
}

bool SystemReplaceFile(const std::string& source, const std::string& target)
{
    return MoveFileExW(WideFromUtf8(source).c_str(), WideFromUtf8(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
           Failed();
}

bool SystemLinkFile(const std::string& existing, const std::string& second)
{
    return CreateHardLinkW(WideFromUtf8(second).c_str(), WideFromUtf8(existing).c_str(), nullptr) ||
           Failed();
}

std::string SystemMakeTemporaryFile(const char* prefix)
{
    // GetTempFileNameW makes the file, of a name it makes sure is new (with the prefix's first
    // three letters).
    wchar_t folder[MAX_PATH + 1], name[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH ||
        GetTempFileNameW(folder, WideFromUtf8(prefix).c_str(), 0, name) == 0) {
        Failed();
        return {};
    }
    return Utf8FromWide(name);
}

uint32_t SystemProcessNumber()
{
    return uint32_t(GetCurrentProcessId());
}
