// Files and directories: FileSize, RemoveFile and the numbered files of the file table.
#include "runtime/core/files.h"

#include "runtime/core/little_endian.h"
#include "runtime/core/object_table.h"
#include "runtime/platform/descriptor_io.h"
#include "runtime/platform/system.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>

namespace {
constexpr int32_t TRANSFER_BUFFER_SIZE = 4096;
constexpr int32_t FILE_TABLE_GROWTH = 16;

struct NumberedFile {
    int32_t open;          // 1 while the slot holds a file: the table's in-use mark
    int32_t handle;        // the descriptor
    unsigned char* buffer; // the transfer buffer
    int32_t bufferSize;    // 4096
    int32_t count;         // read mode: bytes not yet handed out; write mode: free bytes
    int32_t fill;          // read mode: bytes the last refill put into the buffer
    int32_t readMode;      // 1: read-ahead data (or nothing); 0: data not yet written
    int32_t writable;      // 0 for a file opened for reading only
};

struct FileLibrary {
    ObjectTable* table = nullptr; // created on first use, freed by CloseAllFiles
};
FileLibrary Files;

NumberedFile* Slot(int32_t number)
{
    return static_cast<NumberedFile*>(LookupObject(Files.table, number));
}

void WriteOutBuffer(NumberedFile& file)
{
    if (!file.readMode && file.count < file.bufferSize)
        WriteToDescriptor(file.handle, file.buffer, size_t(file.bufferSize - file.count));
    file.count = file.bufferSize;
}

void ReleaseFile(int32_t object)
{
    NumberedFile* file = Slot(object);
    if (!file)
        return;
    WriteOutBuffer(*file);
    CloseDescriptor(file->handle);
    std::free(file->buffer);
}

bool EnsureTable()
{
    if (!Files.table)
        Files.table = CreateObjectTable(sizeof(NumberedFile), FILE_TABLE_GROWTH, ReleaseFile);
    return Files.table != nullptr;
}

enum class OpenMode { Create, Read, Update };

int OpenDescriptor(const std::string& path, OpenMode mode)
{
    if (path.empty())
        return -1;
    if (mode == OpenMode::Read)
        return SystemOpenFile(path, O_RDONLY);
    if (mode == OpenMode::Update)
        return SystemOpenFile(path, O_RDWR | O_CREAT);
    int handle = SystemOpenFile(path, O_RDWR | O_CREAT | O_TRUNC);
    return handle >= 0 ? handle : SystemOpenFile(path, O_WRONLY | O_TRUNC);
}

int32_t OpenNumbered(int32_t number, std::string_view name, OpenMode mode)
{
    if (!EnsureTable())
        return 0;
    int32_t object = 0;
    // Taking the slot closes a file held there first, so that its buffered data is on disk
    // before the new open looks at the file system.
    auto* file = static_cast<NumberedFile*>(GetOrCreateObject(Files.table, number, &object));
    if (!file)
        return 0;
    auto* buffer = static_cast<unsigned char*>(std::malloc(TRANSFER_BUFFER_SIZE));
    int handle = buffer ? OpenDescriptor(SystemResolvePath(name), mode) : -1;
    if (handle < 0) {
        std::free(buffer);
        FreeObject(Files.table, object);
        return 0;
    }
    *file = {1, handle, buffer, TRANSFER_BUFFER_SIZE, 0, 0, 1, mode != OpenMode::Read};
    return number == DYNAMIC_OBJECT ? object : 1;
}

// Hands out length bytes into data, which the caller has zeroed: what the file does not
// have stays 0.
void ReadBuffered(NumberedFile& file, unsigned char* data, int32_t length)
{
    if (!file.readMode) {
        WriteOutBuffer(file);
        file.readMode = 1;
        file.count = 0;
        file.fill = 0;
    }
    const unsigned char* unread = file.buffer + (file.fill - file.count);
    if (file.count >= length) {
        std::memcpy(data, unread, size_t(length));
        file.count -= length;
        return;
    }
    int32_t handed = file.count;
    std::memcpy(data, unread, size_t(handed));
    file.count = 0;
    int32_t missing = length - handed;
    if (missing >= file.bufferSize) {
        ReadFromDescriptor(file.handle, data + handed, size_t(missing));
        return;
    }
    file.fill = int32_t(ReadOnceFromDescriptor(file.handle, file.buffer, size_t(file.bufferSize)));
    int32_t taken = std::min(missing, file.fill);
    std::memcpy(data + handed, file.buffer, size_t(taken));
    file.count = file.fill - taken;
}
} // namespace

std::string WorkingFolder()
{
    return SystemWorkingFolder();
}

int64_t FileSize(std::string_view name)
{
    std::string trimmed(name.substr(0, name.find('\0')));
    while (!trimmed.empty() && (trimmed.back() == '\\' || trimmed.back() == '/'))
        trimmed.pop_back();
    std::string path = SystemResolvePath(trimmed);
    return path.empty() ? -1 : SystemFileSize(path);
}

int32_t RemoveFile(std::string_view name)
{
    std::string path = SystemResolvePath(name);
    return !path.empty() && SystemRemoveFile(path);
}

int32_t CreateFileNumbered(int32_t number, std::string_view name)
{
    return OpenNumbered(number, name, OpenMode::Create);
}

int32_t OpenFileForReading(int32_t number, std::string_view name)
{
    return OpenNumbered(number, name, OpenMode::Read);
}

int32_t OpenFileForUpdate(int32_t number, std::string_view name)
{
    return OpenNumbered(number, name, OpenMode::Update);
}

void CloseFileNumbered(int32_t number)
{
    if (!Slot(number))
        return;
    ReleaseFile(number);
    FreeObject(Files.table, number);
}

void CloseAllFiles()
{
    FreeObjectTable(Files.table);
    Files.table = nullptr;
}

int32_t ReadByteFromFile(int32_t number)
{
    NumberedFile* file = Slot(number);
    unsigned char byte[1] = {0};
    if (file)
        ReadBuffered(*file, byte, 1);
    return int8_t(byte[0]);
}

int32_t ReadWordFromFile(int32_t number)
{
    NumberedFile* file = Slot(number);
    unsigned char bytes[2] = {0, 0};
    if (file)
        ReadBuffered(*file, bytes, 2);
    return int16_t(LoadLittleEndian16(bytes));
}

int32_t WriteDataToFile(int32_t number, const void* memory, int32_t length)
{
    NumberedFile* file = Slot(number);
    if (!memory || length <= 0 || !file || !file->writable)
        return 0;
    const auto* data = static_cast<const unsigned char*>(memory);
    if (file->readMode) {
        // Read-ahead moved the file position past what was handed out; step back so the
        // data lands where the reader stopped.
        if (file->count > 0)
            SeekDescriptor(file->handle, -int64_t(file->count), SEEK_CUR);
        file->readMode = 0;
        file->count = file->bufferSize;
    }
    if (length < file->count) {
        std::memcpy(file->buffer + (file->bufferSize - file->count), data, size_t(length));
        file->count -= length;
        return length;
    }
    WriteOutBuffer(*file);
    if (length >= file->bufferSize)
        return int32_t(WriteToDescriptor(file->handle, data, size_t(length)));
    std::memcpy(file->buffer, data, size_t(length));
    file->count = file->bufferSize - length;
    return length;
}
