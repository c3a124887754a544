// Whole files in and out of memory.
#include "tools/cellpack/file_bytes.h"

#include "runtime/platform/system.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

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
    std::string temporary = path + ".part" + std::to_string(getpid());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return ErrorLine(path, "write");
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::string error = ErrorLine(path, "write");
        std::remove(temporary.c_str());
        return error;
    }
    return "";
}
