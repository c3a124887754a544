// Reading and writing the manifest of add-mods.
#include "tools/cellpack/mods_manifest.h"

#include "runtime/platform/shown_text.h"
#include "runtime/platform/utf8_path.h"
#include "tools/cellpack/file_bytes.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
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

bool IsAsWritten(const std::string& path, uint64_t hash)
{
    std::error_code error;
    std::vector<uint8_t> bytes;
    return std::filesystem::is_regular_file(
               std::filesystem::symlink_status(Utf8Path(path), error)) &&
           ReadFileBytes(path, bytes).empty() && ContentHash(bytes) == hash;
}

namespace {
bool ReadHash(std::istream& words, uint64_t& hash)
{
    std::string text;
    if (!(words >> text) || text.size() != 16 ||
        text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    return std::sscanf(text.c_str(), "%16" SCNx64, &hash) == 1;
}

int HexDigit(char c)
{
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

// The name as ShownText escaped it.
std::string Unescaped(const std::string& text)
{
    std::string name;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            name += text[i];
            continue;
        }
        char kind = text[++i];
        if (kind == 'x' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
            HexDigit(text[i + 2]) >= 0) {
            name += char(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else
            name += kind == 'n' ? '\n' : kind == 'r' ? '\r' : kind == 't' ? '\t' : kind;
    }
    return name;
}

bool ReadTypeLine(std::istream& words, MadeType& made)
{
    std::string spawn, frames, pack, hash, from;
    if (!(words >> made.type >> spawn >> made.spawn >> frames >> made.frames >> pack >> made.pack))
        return false;
    if (spawn != "spawn" || frames != "frames" || pack != "pack" || !(words >> hash) ||
        hash != "hash" || !ReadHash(words, made.hash) || !(words >> from) || from != "from")
        return false;
    // One blank follows "from"; the name is all the rest, blanks at its start included.
    if (words.peek() == ' ')
        words.get();
    std::getline(words, made.source);
    made.source = Unescaped(made.source);
    // Only a pack name add-mods writes, three digits and ".cell": a name from a damaged line
    // may hold anything, a path out of the folder among it.
    return made.pack.size() == 8 && made.pack.find_first_not_of("0123456789") == 3 &&
           made.pack.compare(3, 5, ".cell") == 0;
}

bool ReadLine(const std::string& line, ModsManifest& manifest)
{
    std::istringstream words(line);
    std::string kind;
    if (!(words >> kind))
        return true;
    if (kind == "list")
        return ReadHash(words, manifest.listHash);
    if (kind == "base")
        return words >> manifest.base && ReadHash(words, manifest.baseHash);
    if (kind != "type")
        return true;
    manifest.made.emplace_back();
    return ReadTypeLine(words, manifest.made.back());
}
} // namespace

ModsManifest ParseModsManifest(const std::string& text)
{
    ModsManifest manifest;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number)
        if (!ReadLine(line, manifest)) {
            ModsManifest unread;
            unread.problem = "line " + std::to_string(number) + " cannot be read";
            return unread;
        }
    manifest.present = true;
    return manifest;
}

ModsManifest ReadModsManifest(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(Utf8Path(path), error)))
        return {};
    std::vector<uint8_t> bytes;
    std::string problem = ReadFileBytes(path, bytes);
    ModsManifest manifest;
    if (problem.empty())
        manifest = ParseModsManifest(std::string(bytes.begin(), bytes.end()));
    else
        manifest.problem = problem;
    if (!manifest.problem.empty() && problem.empty())
        manifest.problem = path + ": " + manifest.problem;
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
        std::snprintf(line, sizeof line, "type %d spawn %d frames %d pack ", made.type, made.spawn,
                      made.frames);
        text += line + made.pack;
        std::snprintf(line, sizeof line, " hash %016" PRIx64 " from ", made.hash);
        text += line + ShownText(made.source) + "\n";
    }
    return text;
}
