// Reading and writing the manifest of add-mods.
#include "tools/cellpack/mods_manifest.h"

#include "tools/cellpack/file_bytes.h"

#include <cinttypes>
#include <cstdio>
#include <sstream>

uint64_t ContentHash(const uint8_t* data, size_t size)
{
    uint64_t hash = 0xcbf29ce484222325u;
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 0x100000001b3u;
    return hash;
}

uint64_t ContentHash(const std::vector<uint8_t>& data)
{
    return ContentHash(data.data(), data.size());
}

namespace {
bool ReadHash(std::istream& words, uint64_t& hash)
{
    std::string text;
    if (!(words >> text) || text.size() != 16)
        return false;
    return std::sscanf(text.c_str(), "%16" SCNx64, &hash) == 1;
}

bool ReadTypeLine(std::istream& words, MadeType& made)
{
    std::string spawn, frames, pack, hash, from;
    if (!(words >> made.type >> spawn >> made.spawn >> frames >> made.frames >> pack >> made.pack))
        return false;
    if (spawn != "spawn" || frames != "frames" || pack != "pack" || !(words >> hash) ||
        hash != "hash" || !ReadHash(words, made.hash) || !(words >> from) || from != "from")
        return false;
    std::getline(words >> std::ws, made.source);
    return made.pack.find('/') == std::string::npos && !made.pack.empty();
}

bool ReadLine(const std::string& line, ModsManifest& manifest)
{
    std::istringstream words(line);
    std::string kind;
    if (!(words >> kind) || kind[0] == '#')
        return true;
    if (kind == "list")
        return ReadHash(words, manifest.listHash);
    if (kind == "base")
        return words >> manifest.base && ReadHash(words, manifest.baseHash);
    if (kind != "type")
        return false;
    manifest.made.emplace_back();
    return ReadTypeLine(words, manifest.made.back());
}
} // namespace

ModsManifest ReadModsManifest(const std::string& path)
{
    ModsManifest manifest;
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes).empty())
        return {};
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    std::string line;
    while (std::getline(lines, line))
        if (!ReadLine(line, manifest))
            return {};
    manifest.present = true;
    return manifest;
}

std::string ModsManifestText(const ModsManifest& manifest)
{
    char line[160];
    std::string text =
        "# Written by 'cellpack add-mods': what it added to this world. A later run\n"
        "# replaces only what is named here, and only while it is as written.\n";
    std::snprintf(line, sizeof line, "list %016" PRIx64 "\nbase %d %016" PRIx64 "\n",
                  manifest.listHash, manifest.base, manifest.baseHash);
    text += line;
    for (const MadeType& made : manifest.made) {
        std::snprintf(line, sizeof line, "type %d spawn %d frames %d pack %s hash %016" PRIx64,
                      made.type, made.spawn, made.frames, made.pack.c_str(), made.hash);
        text += std::string(line) + " from " + made.source + "\n";
    }
    return text;
}
