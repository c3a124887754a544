// Whole runs of bytes on a file descriptor.
#include "runtime/core/descriptor_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

size_t WriteToDescriptor(int handle, const void* data, size_t length)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    size_t done = 0;
    while (done < length) {
        ssize_t step = write(handle, bytes + done, length - done);
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            break;
        done += size_t(step);
    }
    return done;
}

size_t ReadOnceFromDescriptor(int handle, void* data, size_t length)
{
    ssize_t got;
    do
        got = read(handle, data, length);
    while (got < 0 && errno == EINTR);
    return got < 0 ? 0 : size_t(got);
}

size_t ReadFromDescriptor(int handle, void* data, size_t length)
{
    auto* bytes = static_cast<unsigned char*>(data);
    size_t done = 0;
    while (done < length) {
        size_t got = ReadOnceFromDescriptor(handle, bytes + done, length - done);
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

int OpenFileDescriptor(const char* path, int flags)
{
    int handle = open(path, flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (handle < 0)
        return -1;
    struct stat info;
    if (fstat(handle, &info) != 0 || S_ISDIR(info.st_mode) ||
        fcntl(handle, F_SETFL, fcntl(handle, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(handle);
        return -1;
    }
    return handle;
}
