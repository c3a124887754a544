// The soak's world and its checks.
#include "tools/soak/soak_world.h"
#include "game/data/globals.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

std::vector<uint8_t> ScaleSpawnCounts(const std::vector<uint8_t>& list, int32_t factor)
{
    std::vector<uint8_t> scaled = list;
    int32_t types = list.empty() ? 0 : int8_t(list[0]);
    for (int32_t t = 1; t <= types; ++t) {
        size_t at = 1 + 3 * size_t(t - 1);
        if (at + 1 >= scaled.size())
            break;
        int64_t spawn = int16_t(scaled[at] | scaled[at + 1] << 8);
        int16_t more = int16_t(std::clamp<int64_t>(spawn * factor, INT16_MIN, INT16_MAX));
        scaled[at] = uint8_t(uint16_t(more) & 0xFF);
        scaled[at + 1] = uint8_t(uint16_t(more) >> 8);
    }
    return scaled;
}

std::string CopyWorld(const std::string& from, const std::string& to, int32_t factor)
{
    std::error_code error;
    if (!fs::is_directory(from, error))
        return from + ": not a folder";
    if (fs::exists(to, error))
        return to + ": exists already";
    fs::copy(from, to, fs::copy_options::recursive, error);
    if (error)
        return to + ": " + error.message();
    fs::remove(fs::path(to) / "pref.ini", error);
    // A world without its list is copied as it is: the game's start-up reports it.
    fs::path listPath = fs::path(to) / "cell" / "cell.ini";
    if (!fs::is_regular_file(listPath, error))
        return {};
    std::ifstream in(listPath, std::ios::binary);
    std::vector<uint8_t> list{std::istreambuf_iterator<char>(in), {}};
    in.close();
    std::vector<uint8_t> scaled = ScaleSpawnCounts(list, factor);
    std::ofstream out(listPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(scaled.data()), std::streamsize(scaled.size()));
    return out ? "" : listPath.string() + ": cannot write";
}

namespace {
struct NamedValue {
    const char* name;
    float value;
};

std::string Describe(const char* owner, const NamedValue& v)
{
    char text[160];
    std::snprintf(text, sizeof text, "%s%s = %g", owner, v.name, double(v.value));
    return text;
}

std::string FirstNonFiniteOfCell(const Cell& c)
{
    const NamedValue values[] = {
        {"x", c.x},
        {"y", c.y},
        {"size", c.size},
        {"angle", c.angle},
        {"angle_s", c.angle_s},
        {"norm_angle_s", c.norm_angle_s},
        {"flew_angle_s", c.flew_angle_s},
        {"target_angle", c.target_angle},
        {"idle_anispeed", c.idle_anispeed},
        {"move_anispeed", c.move_anispeed},
        {"flew_anispeed", c.flew_anispeed},
        {"norm_movespeed", c.norm_movespeed},
        {"flew_movespeed", c.flew_movespeed},
        {"turn", c.turn},
        {"speed", c.speed},
        {"accelaration", c.accelaration},
        {"mentionradius", c.mentionradius},
        {"frame", c.frame},
    };
    for (const NamedValue& v : values)
        if (!std::isfinite(v.value))
            return Describe(("cell " + std::to_string(c.id) + " ").c_str(), v);
    return {};
}
} // namespace

std::string FirstNonFiniteValue()
{
    const NamedValue globals[] = {
        {"PlayerX", PlayerX},         {"PlayerY", PlayerY},       {"PlayerSpeed", PlayerSpeed},
        {"PlayerAngle", PlayerAngle}, {"PlayerTurn", PlayerTurn},
    };
    for (const NamedValue& v : globals)
        if (!std::isfinite(v.value))
            return Describe("", v);
    ResetList(CellList);
    while (const Cell* cell = NextElementOf<Cell>(CellList)) {
        std::string bad = FirstNonFiniteOfCell(*cell);
        if (!bad.empty())
            return bad;
    }
    return {};
}

int64_t ResidentKiB(const char* field)
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    int64_t kib = -1;
    size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            kib = std::strtoll(line + length + 1, nullptr, 10);
            break;
        }
    std::fclose(status);
    return kib;
}
