// Whole files in and out of memory, with errors that name the file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The file's bytes; an error line naming the file ("" on success).
std::string ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes);
// Replaces the file by the bytes: written beside it, then renamed, so that a failed write
// never leaves half a file. An error line naming the file ("" on success).
std::string WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
