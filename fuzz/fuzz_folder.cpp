// The fuzz targets' scratch folder.
#include "fuzz/fuzz_folder.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

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
