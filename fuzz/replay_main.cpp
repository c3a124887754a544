// Replays fuzz inputs as an ordinary test: every file of the given folders goes to the
// target once, as an exact-size heap copy, so that a read one byte too far is caught by the
// sanitizers as it would be while fuzzing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
bool ReadWhole(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bytes.clear();
    uint8_t block[65536];
    for (size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;)
        bytes.insert(bytes.end(), block, block + got);
    std::fclose(file);
    return true;
}

int ReplayFolder(const std::string& folder)
{
    DIR* directory = opendir(folder.c_str());
    if (!directory)
        return 0;
    int count = 0;
    std::vector<uint8_t> bytes;
    while (dirent* entry = readdir(directory)) {
        if (entry->d_name[0] == '.')
            continue;
        std::string path = folder + "/" + entry->d_name;
        if (!ReadWhole(path, bytes))
            continue;
        auto* copy = static_cast<uint8_t*>(std::malloc(bytes.size() ? bytes.size() : 1));
        if (!bytes.empty())
            std::memcpy(copy, bytes.data(), bytes.size());
        LLVMFuzzerTestOneInput(copy, bytes.size());
        std::free(copy);
        ++count;
    }
    closedir(directory);
    return count;
}
} // namespace

int main(int argc, char** argv)
{
    int count = 0;
    for (int i = 1; i < argc; ++i)
        count += ReplayFolder(argv[i]);
    // The empty input is always worth one run.
    auto* empty = static_cast<uint8_t*>(std::malloc(1));
    LLVMFuzzerTestOneInput(empty, 0);
    std::free(empty);
    std::printf("replayed %d inputs\n", count);
    return 0;
}
