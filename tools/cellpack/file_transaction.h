// Changing several files of a folder so that either every change is made or none: a world's
// list, its packs and the manifest of add-mods must agree, or the next run misreads them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct FileChange {
    std::string path;
    std::vector<uint8_t> bytes; // the new content
    bool remove = false;        // the file goes instead
};

// Makes the changes in their order. Every new content is written beside its file first, and
// every file replaced or removed is kept under a second name until all renames are done; when
// a write or a rename fails, what was done is undone. "" or the problem (naming the file).
std::string ChangeFiles(const std::vector<FileChange>& changes);
