// The soak's world: a copy of a game working directory with more cells in it, and the checks
// made on the running game.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The cell type list with every spawn count multiplied by factor, held within the signed
// 16-bit range the list stores; bytes past the types' counts are kept as they are.
std::vector<uint8_t> ScaleSpawnCounts(const std::vector<uint8_t>& list, int32_t factor);

// Copies the working directory from into the new folder to (which must not exist yet),
// rewrites its cell\cell.ini (when there is one) with the spawn counts scaled and leaves out
// pref.ini, so that the game starts with its default screen. Empty on success, else the
// problem.
std::string CopyWorld(const std::string& from, const std::string& to, int32_t factor);

// The first value of the game that is not finite, as "cell 12 speed = nan" or "PlayerX = inf";
// empty when every value of the player, the camera and every cell is finite.
std::string FirstNonFiniteValue();

// The process's resident memory (VmRSS) or its peak (VmHWM) in KiB; -1 when unknown.
int64_t ResidentKiB(const char* field = "VmRSS");
