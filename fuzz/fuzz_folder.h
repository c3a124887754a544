// A private scratch folder for fuzz targets that must hand their input over as a file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The folder, made on first use and reused for the whole run.
const std::string& FuzzFolder();
// Writes the bytes to a file of that name in the folder; its full path.
std::string WriteFuzzFile(const char* name, const uint8_t* data, size_t size);
