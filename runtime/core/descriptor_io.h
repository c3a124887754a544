// Whole runs of bytes on a file descriptor, across short transfers and interruptions.
#pragma once
#include <cstddef>

// Writes until every byte is written or an error stops it; the count written.
size_t WriteToDescriptor(int handle, const void* data, size_t length);
// Reads until length bytes arrived, the end of the file or an error; the count read.
size_t ReadFromDescriptor(int handle, void* data, size_t length);
// One read call, repeated only when interrupted; 0 at the end of the file or on an error.
size_t ReadOnceFromDescriptor(int handle, void* data, size_t length);
// Opens with the open flags (new files get 0666 less the umask) anything but a directory;
// -1 on failure. The open never waits, not even for a pipe without a writer.
int OpenFileDescriptor(const char* path, int flags);
