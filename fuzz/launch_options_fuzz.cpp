// The launcher's readers of what the player asks for: any command line (the input split at
// zero bytes into arguments) is taken or refused with a reason, and any pref.ini text gives
// the [Launcher] section's choices, every value not understood named in a warning; a folder
// named there lies where PlayerPath puts it, or is refused with a reason.
#include "launcher/launch_options.h"

#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> arguments;
    for (size_t start = 0, end; start <= text.size(); start = end + 1) {
        end = std::min(text.find('\0', start), text.size());
        arguments.push_back(text.substr(start, end - start));
    }
    LaunchOptions options;
    std::string error;
    if (ParseLaunchOptions(arguments, options, error) != error.empty())
        std::abort();

    PreferenceSettings settings = ReadLauncherSection(text);
    for (const std::string& warning : settings.warnings)
        if (warning.find('\n') != std::string::npos || warning.find('\x1b') != std::string::npos)
            std::abort();
    std::filesystem::path folder = "/unchanged";
    std::string problem = PlayerPath(settings.screenshotDir, "/base", folder);
    if (!problem.empty() && folder != "/unchanged")
        std::abort();
    if (problem.empty() && !settings.screenshotDir.empty() && !folder.is_absolute())
        std::abort();
    return 0;
}
