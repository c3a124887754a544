// The program's arguments and folder and the environment on Windows, in UTF-8, and the font
// shipped beside the program.
#include "runtime/platform/system.h"
#include "runtime/platform/windows/windows_text.h"

#include <windows.h>

#include <shellapi.h> // after windows.h, whose types it uses

std::vector<std::string> SystemProgramArguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words)
        return std::vector<std::string>(argv + (argc > 0), argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(Utf8FromWide(words[i]));
    LocalFree(words);
    return arguments;
}

std::string SystemProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return Utf8FromWide(path.substr(0, path.find_last_of(L"\\/")));
}

bool SystemEnvironment(const char* name, std::string& value)
{
    std::wstring wideName = WideFromUtf8(name);
    // The size asked for counts the closing zero, so a variable set to nothing gives 1.
    DWORD length = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (length == 0)
        return false;
    std::wstring text(length, L'\0');
    length = GetEnvironmentVariableW(wideName.c_str(), text.data(), length);
    text.resize(length < text.size() ? length : 0);
    value = Utf8FromWide(text);
    return true;
}

// Windows always has a sound system to ask; without a device, opening fails quickly.
bool SystemSoundOutputMayExist()
{
    return true;
}

// The program ships its font beside itself, as VELLOMIRA_FONT_NAME.
std::string SystemDefaultFontFile(const char*)
{
    std::string folder = SystemProgramFolder();
    return folder.empty() ? std::string() : folder + "\\" + VELLOMIRA_FONT_NAME;
}
