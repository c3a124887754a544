// The fuzz targets' scratch folder.
#include "fuzz/fuzz_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
void RemoveFuzzFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(FuzzFolder(), ignored);
}
} // namespace

const std::string& FuzzFolder()
{
    static const std::string folder = [] {
        // In memory where the machine offers it: the preferences write-back syncs its file,
        // which on a disk would slow every run down to a crawl.
        std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm/vellomira-fuzz-XXXXXX"
                                                            : "/tmp/vellomira-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    static const bool removedAtExit = std::atexit(RemoveFuzzFolder) == 0;
    (void)removedAtExit;
    return folder;
}

std::string WriteFuzzFile(const char* name, const uint8_t* data, size_t size)
{
    std::string path = FuzzFolder() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    if (size && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
    return path;
}

InFuzzFolder::InFuzzFolder() : previous(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    std::string cell = FuzzFolder() + "/cell";
    if (previous < 0 || (mkdir(cell.c_str(), 0755) != 0 && errno != EEXIST) ||
        chdir(FuzzFolder().c_str()) != 0)
        std::abort();
}

InFuzzFolder::~InFuzzFolder()
{
    if (fchdir(previous) != 0)
        std::abort();
    close(previous);
}
