// Files and directories: size and existence by name, deletion, and numbered files that are
// read and written through a 4096-byte buffer. Names are Windows-style (see SystemResolvePath).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The size in bytes; -1 when nothing of that name exists (also for a drive name, which refers
// to nothing here); -2 for a directory. Trailing separators are ignored; a last component
// with wild cards (* ?) measures the first matching entry in name order.
int64_t FileSize(std::string_view name);
// The absolute path of the working folder, where every relative name is found; empty when
// it cannot be told (it was removed, or lies beyond what may be read).
std::string WorkingFolder();
// Nonzero when the file was deleted; 0 otherwise (absent name, directory, no permission).
int32_t RemoveFile(std::string_view name);

// The numbered files (numbers chosen by the caller, or DYNAMIC_OBJECT for a handle). Opening
// on a number in use first closes the file held there, writing out its buffer; a failed open
// leaves the number free. Each open returns nonzero on success (the handle for
// DYNAMIC_OBJECT), 0 on failure. Directories are never opened.

// Creates the file or empties an existing one, for reading and writing.
int32_t CreateFileNumbered(int32_t number, std::string_view name);
// Opens an existing file for reading only.
int32_t OpenFileForReading(int32_t number, std::string_view name);
// Opens for reading and writing, creating the file when it is missing.
int32_t OpenFileForUpdate(int32_t number, std::string_view name);
// Writes out what is buffered, closes the file and frees the number.
void CloseFileNumbered(int32_t number);
// Closes every numbered file as CloseFileNumbered does (the end of the program).
void CloseAllFiles();

// The next byte, sign-extended; 0 at the end of the file or for a number without a file.
int32_t ReadByteFromFile(int32_t number);
// The next two bytes as a little-endian word, sign-extended; bytes past the end read as 0.
int32_t ReadWordFromFile(int32_t number);
// The number of bytes accepted; 0 when the memory is absent, the length is 0 or less, the
// number holds no file or the file was opened for reading only.
int32_t WriteDataToFile(int32_t number, const void* memory, int32_t length);
