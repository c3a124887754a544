// The program's arguments and folder and the environment of a POSIX system, and where its
// sound output would be.
#include "runtime/platform/system.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {
bool Accessible(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}
} // namespace

std::vector<std::string> SystemProgramArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + (argc > 0), argv + argc);
}

std::string SystemProgramFolder()
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
}

bool SystemEnvironment(const char* name, std::string& value)
{
    const char* text = std::getenv(name);
    if (!text)
        return false;
    value = text;
    return true;
}

// A sound server's socket, a sound card, or an audio driver chosen on purpose. Without one,
// asking SDL would only spend a tenth of a second probing its drivers and let the sound
// library print its complaints.
bool SystemSoundOutputMayExist()
{
    if (std::getenv("SDL_AUDIODRIVER") || std::getenv("PULSE_SERVER"))
        return true;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"))
        if (Accessible(std::string(runtime) + "/pulse/native") ||
            Accessible(std::string(runtime) + "/pipewire-0"))
            return true;
    return Accessible("/dev/snd") || Accessible("/dev/dsp");
}
