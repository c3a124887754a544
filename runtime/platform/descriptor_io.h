// Whole runs of bytes on a file descriptor, across short transfers and interruptions.
#pragma once
#include <cstddef>
#include <cstdint>

// Writes until every byte is written or an error stops it; the count written.
size_t WriteToDescriptor(int handle, const void* data, size_t length);
// Reads until length bytes arrived, the end of the file or an error; the count read.
size_t ReadFromDescriptor(int handle, void* data, size_t length);
// One read call, repeated only when interrupted; 0 at the end of the file or on an error.
size_t ReadOnceFromDescriptor(int handle, void* data, size_t length);
// One read call: the count read; 0 at the end of the file or on an error; -1 when a signal
// interrupted the wait, so that the caller can see what the signal asked for before it reads on.
int64_t ReadOrInterrupt(int handle, void* data, size_t length);
// The file's length in bytes; -1 when it cannot be told.
int64_t DescriptorLength(int handle);
// Moves the file position (SEEK_SET, SEEK_CUR, SEEK_END); false on failure.
bool SeekDescriptor(int handle, int64_t offset, int whence);
// Cuts or extends the file to the length; false on failure.
bool TruncateDescriptor(int handle, int64_t length);
void CloseDescriptor(int handle);
