// Whole runs of bytes on a file descriptor, with the read and write calls that both systems'
// C libraries have.
#include "runtime/platform/descriptor_io.h"

#include <cerrno>
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

int64_t ReadOrInterrupt(int handle, void* data, size_t length)
{
    ssize_t got = read(handle, data, length);
    if (got < 0)
        return errno == EINTR ? -1 : 0;
    return int64_t(got);
}

int64_t DescriptorLength(int handle)
{
    struct stat info;
    return fstat(handle, &info) == 0 ? int64_t(info.st_size) : -1;
}

bool SeekDescriptor(int handle, int64_t offset, int whence)
{
    return lseek(handle, off_t(offset), whence) >= 0;
}

bool TruncateDescriptor(int handle, int64_t length)
{
    return ftruncate(handle, off_t(length)) == 0;
}

void CloseDescriptor(int handle)
{
    close(handle);
}
