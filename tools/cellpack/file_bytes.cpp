// Whole files in and out of memory.
#include "tools/cellpack/file_bytes.h"

#include "runtime/platform/system.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
std::string ErrorLine(const std::string& path, const char* doing)
{
    return path + ": cannot " + doing + ": " + std::strerror(errno);
}
} // namespace

std::string ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    std::FILE* file = SystemOpenStream(path, "rb");
    if (!file)
        return ErrorLine(path, "read");
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? ErrorLine(path, "read") : "";
}

std::string WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::string temporary = path + ".part" + std::to_string(SystemProcessNumber());
    std::FILE* file = SystemOpenStream(temporary, "wb");
    if (!file)
        return ErrorLine(path, "write");
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fclose(file) == 0 && written;
    if (!written || !SystemReplaceFile(temporary, path)) {
        std::string error = ErrorLine(path, "write");
        SystemRemoveFile(temporary);
        return error;
    }
    return "";
}
