// The record add-mods keeps in a world (cell/mods.manifest) of what it added there: the list
// it found, the types it appended and the packs it wrote, so that a later run replaces only
// those, and only while they are as it wrote them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct MadeType {
    int32_t type = 0;
    int32_t spawn = 0;
    int32_t frames = 0;
    std::string pack;   // its file name in cell/
    uint64_t hash = 0;  // of the pack as written
    std::string source; // the type's folder
};

struct ModsManifest {
    bool present = false;
    std::string problem;   // why a manifest that is there cannot be read, or ""
    uint64_t listHash = 0; // of cell.ini as written
    int32_t base = 0;      // types the list held before the ones added
    uint64_t baseHash = 0; // of those types' entries
    std::vector<MadeType> made;
};

// A 64-bit FNV-1a hash: it tells a file as written from a changed one, nothing more.
uint64_t ContentHash(const uint8_t* data, size_t size);
uint64_t ContentHash(const std::vector<uint8_t>& data);
// Whether the path names a regular file whose bytes have the hash: a file as add-mods wrote it.
bool IsAsWritten(const std::string& path, uint64_t hash);
// The manifest in the text. Lines of kinds it does not know are passed over; a known line it
// cannot read leaves it not present, with the line named in problem.
ModsManifest ParseModsManifest(const std::string& text);
// The manifest in the file: not present when there is no file; when there is one that cannot
// be read, not present and the problem names the file.
ModsManifest ReadModsManifest(const std::string& path);
// The manifest's text; the type folders' names are written escaped (as ShownText shows them),
// so that any name stays on its line.
std::string ModsManifestText(const ModsManifest& manifest);
