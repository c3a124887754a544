// Checking a world folder for the files the game reads.
#include "launcher/world_check.h"

#include "game/data/data.h"
#include "runtime/platform/system.h"
#include "runtime/platform/utf8_path.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {
bool HasFile(const std::string& world, const std::string& name)
{
    std::error_code error;
    return fs::is_regular_file(Utf8Path(SystemResolvePath(world + "/" + name)), error);
}

// The name as people write it on Linux.
std::string Shown(std::string name)
{
    for (char& c : name)
        if (c == '\\')
            c = '/';
    return name;
}

std::string Joined(const std::string& text, const std::string& more)
{
    return text.empty() ? more : text + ", " + more;
}
} // namespace

std::string MissingWorldFiles(const std::string& world)
{
    std::string missing;
    if (!HasFile(world, CELL_LIST_NAME))
        missing = Shown(CELL_LIST_NAME);
    if (!HasFile(world, PLAYER_IMAGE_NAME))
        missing = Joined(missing, Shown(PLAYER_IMAGE_NAME) + " (the player)");
    std::string bubbles;
    int32_t absent = 0;
    for (int32_t i = 1; i <= BUBBLE_IMAGE_COUNT; ++i)
        if (!HasFile(world, BubbleImageName(i)))
            bubbles = Joined(bubbles, Shown(BubbleImageName(i))), ++absent;
    if (absent == BUBBLE_IMAGE_COUNT)
        bubbles = Shown(BubbleImageName(1)) + " to " + Shown(BubbleImageName(BUBBLE_IMAGE_COUNT));
    if (absent > 0)
        missing = Joined(missing, bubbles + (absent == 1 ? " (a bubble)" : " (the bubbles)"));
    return missing;
}

std::string WorldFolder(const std::string& world, const std::string& name)
{
    return SystemResolvePath(world + "/" + name);
}
