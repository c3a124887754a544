// A private scratch folder for fuzz targets that must hand their input over as a file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The folder, made on first use, reused for the whole run and removed when the program ends.
const std::string& FuzzFolder();
// Writes the bytes to a file of that name (which may name a subfolder) in the folder; its full
// path.
std::string WriteFuzzFile(const char* name, const uint8_t* data, size_t size);
// Makes the folder, with a subfolder "cell" for the game's data, the working directory while
// the object lives: the game reads its files by names relative to it, and the fuzzer reads its
// corpus by names relative to the directory it was started in.
struct InFuzzFolder {
    int previous;
    InFuzzFolder();
    ~InFuzzFolder();
    InFuzzFolder(const InFuzzFolder&) = delete;
    InFuzzFolder& operator=(const InFuzzFolder&) = delete;
};
