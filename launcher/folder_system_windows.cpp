// The player's folder on Windows: LockFileEx on .lock, copies of the world's files with a
// record of them, and folders put in place by renames. Windows makes symbolic links for
// administrators only, so the world is copied in at every start, which also brings a changed
// world to the player. Each folder that holds copies keeps a record, .world-copies, of their
// names and hashes: a copy is the launcher's while its bytes are as copied, so that a file a
// player put in its place or changed is never taken for one.
#include "launcher/folder_system.h"
#include "launcher/player_folder.h"

#include "runtime/platform/shown_path.h"
#include "runtime/platform/system.h"
#include "runtime/platform/utf8_path.h"
#include "runtime/platform/windows/windows_text.h"
#include "tools/cellpack/mods_manifest.h"

#include <cinttypes>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <io.h>
#include <map>
#include <share.h>
#include <sstream>
#include <sys/stat.h>
#include <vector>
#include <windows.h>

namespace fs = std::filesystem;

namespace {
const wchar_t RECORD_NAME[] = L".world-copies";

std::string Problem(const fs::path& path, const std::error_code& error)
{
    return ShownPath(Utf8Name(path)) + ": " + error.message();
}

std::string Problem(const fs::path& path)
{
    return Problem(path, std::error_code(int(GetLastError()), std::system_category()));
}

// The record of a folder: names of copies (UTF-8) and the hashes of their bytes. False when the
// folder has none or it is not one the launcher wrote.
bool ReadRecord(const fs::path& folder, std::map<std::string, uint64_t>& copies)
{
    std::ifstream file(folder / RECORD_NAME, std::ios::binary);
    if (!file)
        return false;
    std::string line;
    while (std::getline(file, line)) {
        size_t tab = line.find('\t');
        uint64_t hash = 0;
        if (tab != 16 || std::sscanf(line.c_str(), "%16" SCNx64, &hash) != 1 ||
            tab + 1 == line.size())
            return false;
        copies[line.substr(tab + 1)] = hash;
    }
    return file.eof();
}

// Adds a copy to its folder's record.
std::string Record(const fs::path& copy, uint64_t hash)
{
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016" PRIx64, hash);
    std::ofstream file(copy.parent_path() / RECORD_NAME, std::ios::binary | std::ios::app);
    file << hex << '\t' << Utf8Name(copy.filename()) << '\n';
    file.close();
    return file ? ""
                : ShownPath(Utf8Name(copy.parent_path() / RECORD_NAME)) + ": cannot be written";
}

// Copies the file and records the copy, which is writable whatever the world's file was.
std::string CopyWorldFile(const fs::path& from, const fs::path& to)
{
    std::vector<uint8_t> bytes;
    std::ifstream in(from, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in && !in.eof())
        return ShownPath(Utf8Name(from)) + ": cannot be read";
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out)
        return ShownPath(Utf8Name(to)) + ": cannot be written";
    return Record(to, ContentHash(bytes));
}

std::string CopyWorldEntry(const fs::path& from, const fs::path& to)
{
    if (to.filename() == RECORD_NAME)
        return ShownPath(Utf8Name(from)) + ": a name the launcher keeps for its own record";
    std::error_code error;
    if (!fs::is_directory(from, error))
        return CopyWorldFile(from, to);
    if (!fs::create_directory(to, error))
        return Problem(to, error);
    // An empty record: the folder is a copy even while nothing in it is.
    std::ofstream(to / RECORD_NAME, std::ios::binary);
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
        std::string problem = CopyWorldEntry(entry.path(), to / entry.path().filename());
        if (!problem.empty())
            return problem;
    }
    return error ? Problem(from, error) : "";
}

bool IsCopy(const fs::path& path)
{
    std::error_code error;
    fs::file_status status = fs::symlink_status(path, error);
    if (fs::is_directory(status)) {
        std::map<std::string, uint64_t> copies;
        if (!ReadRecord(path, copies))
            return false;
        for (const fs::directory_entry& entry : fs::directory_iterator(path, error))
            if (entry.path().filename() != RECORD_NAME && !IsCopy(entry.path()))
                return false;
        return !error;
    }
    if (!fs::is_regular_file(status))
        return false;
    std::map<std::string, uint64_t> copies;
    if (!ReadRecord(path.parent_path(), copies))
        return false;
    if (path.filename() == RECORD_NAME)
        return true;
    auto copy = copies.find(Utf8Name(path.filename()));
    return copy != copies.end() && IsAsWritten(Utf8Name(path), copy->second);
}

bool Move(const fs::path& from, const fs::path& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}
} // namespace

std::string PlayerFolderPath()
{
    std::string local;
    if (!SystemEnvironment("LOCALAPPDATA", local) || local.empty())
        return "";
    return Utf8Name(Utf8Path(local) / "Vellomira");
}

int OpenNewFile(const std::string& path)
{
    // Shared for deleting, so that the file can be renamed while it is open.
    HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    int descriptor = _open_osfhandle(intptr_t(file), _O_WRONLY | _O_BINARY);
    if (descriptor < 0)
        CloseHandle(file);
    return descriptor;
}

bool RenameOver(const std::string& from, const std::string& to)
{
    return SystemReplaceFile(from, to);
}

std::string LockFolder(const std::string& folder, FolderLock& lock,
                       const std::function<void()>& whileWaiting)
{
    fs::path path = Utf8Path(folder) / ".lock";
    lock.handle = _wsopen(path.c_str(), _O_RDWR | _O_CREAT | _O_NOINHERIT | _O_BINARY, _SH_DENYNO,
                          _S_IREAD | _S_IWRITE);
    if (lock.handle < 0)
        return ShownPath(Utf8Name(path)) + ": cannot be opened";
    HANDLE file = HANDLE(_get_osfhandle(lock.handle));
    OVERLAPPED start{};
    DWORD exclusive = LOCKFILE_EXCLUSIVE_LOCK;
    if (LockFileEx(file, exclusive | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start))
        return "";
    if (GetLastError() == ERROR_LOCK_VIOLATION || GetLastError() == ERROR_IO_PENDING)
        whileWaiting();
    if (LockFileEx(file, exclusive, 0, 1, 0, &start))
        return "";
    std::string problem = Problem(path);
    UnlockFolder(lock);
    return problem;
}

void UnlockFolder(FolderLock& lock)
{
    // Closing the file ends its lock.
    if (lock.handle >= 0)
        _close(lock.handle);
    lock.handle = -1;
}

std::string PlaceWorldEntry(const std::string& target, const std::string& name)
{
    return CopyWorldEntry(Utf8Path(target), Utf8Path(name));
}

bool IsPlacedWorldEntry(const std::string& path)
{
    return IsCopy(Utf8Path(path));
}

std::string RemovePlacedWorldEntry(const std::string& path)
{
    std::error_code error;
    fs::remove_all(Utf8Path(path), error);
    return error ? Problem(Utf8Path(path), error) : "";
}

std::string PutInPlace(const std::string& fresh, const std::string& place)
{
    fs::path from = Utf8Path(fresh), to = Utf8Path(place);
    std::error_code error;
    fs::file_status status = fs::symlink_status(to, error);
    if (!fs::exists(status))
        return Move(from, to) ? "" : Problem(to);
    if (!fs::is_directory(status))
        return MoveFileExW(from.c_str(), to.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? ""
                   : Problem(to);
    // Windows renames no folder over another: the old one is moved aside first, and place is
    // missing for a moment.
    fs::path aside = Utf8Path(fresh + ".old");
    if (!Move(to, aside))
        return Problem(to);
    if (!Move(from, to)) {
        std::string problem = Problem(to);
        Move(aside, to);
        return problem;
    }
    return Move(aside, from) ? "" : Problem(from);
}
