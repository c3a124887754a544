// The player's folder on POSIX systems: an flock on .lock, symbolic links to the world, and
// entries exchanged by one rename.
#include "launcher/folder_system.h"
#include "launcher/player_folder.h"
#include "runtime/platform/shown_text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string Problem(const std::string& path)
{
    return path + ": " + std::strerror(errno);
}

// Exchanges two entries in one step where the system can (Linux 3.15 and later on the usual
// file systems); 0, or -1 with errno set.
int ExchangeEntries(const std::string& a, const std::string& b)
{
#ifdef RENAME_EXCHANGE
    return renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE);
#else
    errno = ENOSYS;
    return -1;
#endif
}
} // namespace

std::string PlayerFolderPath()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return std::string(data) + "/vellomira";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/vellomira";
    return "";
}

int OpenNewFile(const std::string& path)
{
    return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
}

bool RenameOver(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

std::string LockFolder(const std::string& folder, FolderLock& lock,
                       const std::function<void()>& whileWaiting)
{
    std::string path = folder + "/.lock";
    lock.handle = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (lock.handle < 0)
        return Problem(path);
    if (flock(lock.handle, LOCK_EX | LOCK_NB) == 0)
        return "";
    if (errno == EWOULDBLOCK)
        whileWaiting();
    int result;
    while ((result = flock(lock.handle, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (result == 0)
        return "";
    std::string problem = Problem(path);
    UnlockFolder(lock);
    return problem;
}

void UnlockFolder(FolderLock& lock)
{
    if (lock.handle >= 0)
        close(lock.handle);
    lock.handle = -1;
}

std::string PlaceWorldEntry(const std::string& target, const std::string& name)
{
    return symlink(target.c_str(), name.c_str()) == 0 ? "" : Problem(name);
}

bool IsPlacedWorldEntry(const std::string& path)
{
    struct stat status;
    return lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

std::string RemovePlacedWorldEntry(const std::string& path)
{
    std::error_code error;
    return std::filesystem::remove(path, error) ? "" : ShownText(path) + ": " + error.message();
}

std::string PutInPlace(const std::string& fresh, const std::string& place)
{
    struct stat status;
    if (lstat(place.c_str(), &status) != 0)
        return std::rename(fresh.c_str(), place.c_str()) == 0 ? "" : Problem(place);
    if (ExchangeEntries(fresh, place) == 0)
        return "";
    if (errno != ENOSYS && errno != EINVAL)
        return Problem(place);
    // Without an exchange, a link gives way to a link in one rename; a folder cannot, so it is
    // moved aside first and place is missing for a moment.
    if (!S_ISDIR(status.st_mode)) {
        struct stat freshStatus;
        if (lstat(fresh.c_str(), &freshStatus) == 0 && S_ISDIR(freshStatus.st_mode) &&
            unlink(place.c_str()) != 0)
            return Problem(place);
        return std::rename(fresh.c_str(), place.c_str()) == 0 ? "" : Problem(place);
    }
    std::string aside = fresh + ".old";
    if (std::rename(place.c_str(), aside.c_str()) != 0)
        return Problem(place);
    if (std::rename(fresh.c_str(), place.c_str()) != 0) {
        std::string problem = Problem(place);
        std::rename(aside.c_str(), place.c_str());
        return problem;
    }
    return std::rename(aside.c_str(), fresh.c_str()) == 0 ? "" : Problem(fresh);
}
