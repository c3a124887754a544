// Reading what the player asked for: the command line, then the pref.ini section.
#include "launcher/launch_options.h"

#include "runtime/core/conversion.h"
#include "runtime/platform/name_case.h"
#include "runtime/core/preference_text.h"
#include "runtime/platform/shown_text.h"
#include "runtime/platform/utf8_path.h"

#include <cstdlib>

namespace {
std::string Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return std::string(text);
}

// A yes or no: a number, read as the game reads its numbers (anything but 0 is yes), or one
// of the words people use in settings files. False when it is neither.
bool ReadSwitch(const std::string& text, bool& on)
{
    size_t digit = text.find_first_not_of("+-");
    if (digit != std::string::npos && digit <= 1 && text[digit] >= '0' && text[digit] <= '9')
        return on = TextToInteger(text) != 0, true;
    for (const char* word : {"yes", "true", "on"})
        if (SameNameIgnoringCase(text, word))
            return on = true;
    for (const char* word : {"no", "false", "off"})
        if (SameNameIgnoringCase(text, word))
            return on = false, true;
    return false;
}
} // namespace

bool ParseLaunchOptions(const std::vector<std::string>& arguments, LaunchOptions& options,
                        std::string& error)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool takesValue = argument == "--world" || argument == "--screenshot-dir";
        if (takesValue && i + 1 == arguments.size()) {
            error = argument + " needs a folder";
            return false;
        }
        if (argument == "--help" || argument == "-h")
            options.help = true;
        else if (argument == "--version")
            options.version = true;
        else if (argument == "--windowed")
            options.windowed = true;
        else if (argument == "--world")
            options.world = arguments[++i];
        else if (argument == "--screenshot-dir")
            options.screenshotDir = arguments[++i];
        else {
            error = "unknown argument " + argument;
            return false;
        }
    }
    return true;
}

PreferenceSettings ReadLauncherSection(const std::string& text)
{
    PreferenceSettings settings;
    EntryList entries;
    if (!ParsePreferences(text.data(), text.size(), entries))
        return settings;
    bool inSection = false;
    for (const PreferenceEntry* entry = entries.first; entry; entry = entry->next) {
        if (entry->kind == EntryKind::Group)
            inSection = SameNameIgnoringCase(entry->text, "Launcher");
        if (!inSection || entry->kind != EntryKind::Key)
            continue;
        std::string value = Trimmed(entry->text);
        if (SameNameIgnoringCase(entry->key, "Windowed")) {
            if (!ReadSwitch(value, settings.windowed)) {
                settings.windowed = false;
                settings.warnings.push_back("[Launcher] Windowed = " + ShownText(value) +
                                            " is neither yes nor no (true or false, on or off, "
                                            "1 or 0); it counts as no");
            }
        } else if (SameNameIgnoringCase(entry->key, "ScreenshotDir"))
            settings.screenshotDir = value;
    }
    FreeEntries(entries);
    return settings;
}

std::string PlayerPath(const std::string& name, const std::filesystem::path& base,
                       std::filesystem::path& path)
{
    if (name == "~" || name.rfind("~/", 0) == 0) {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/')
            return "HOME names no folder, so " + ShownText(name) + " means nothing";
        path = Utf8Path(home) / Utf8Path(name.substr(std::min<size_t>(name.size(), 2)));
        return "";
    }
    path = Utf8Path(name).is_absolute() ? Utf8Path(name) : base / Utf8Path(name);
    return "";
}
