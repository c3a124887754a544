// The messages of a start, on standard error and in the player's folder.
#include "launcher/run_log.h"

#include "launcher/folder_system.h"
#include "runtime/platform/descriptor_io.h"
#include "runtime/platform/platform.h"
#include "runtime/platform/shown_path.h"
#include "runtime/platform/system.h"
#include "runtime/platform/utf8_path.h"

#include <cstdio>
#include <ctime>

namespace {
struct RunMessages {
    bool outputIsTerminal = true;
    bool errorIsTerminal = true;
    int log = -1;
    std::string logPath;
};
RunMessages Messages;

void WriteLog(const char* bytes, size_t size)
{
    if (Messages.log >= 0)
        WriteToDescriptor(Messages.log, bytes, size);
}
} // namespace

void BeginRunMessages()
{
    Messages.outputIsTerminal = SystemIsTerminal(1);
    Messages.errorIsTerminal = SystemIsTerminal(2);
}

bool OutputIsTerminal()
{
    return Messages.outputIsTerminal;
}

std::string OpenRunLog(const std::string& folder)
{
    // Written beside and renamed at once: a start that runs meanwhile keeps writing to its own.
    std::string path = Utf8Name(Utf8Path(folder) / "vellomira.log"),
                part = path + ".part" + std::to_string(SystemProcessNumber());
    int log = OpenNewFile(part);
    if (log < 0 || !RenameOver(part, path)) {
        if (log >= 0)
            CloseDescriptor(log), SystemRemoveFile(part);
        return ShownPath(path) + ": cannot be written; the messages go to standard error alone";
    }
    Messages.log = log;
    Messages.logPath = path;
    char when[64];
    std::time_t now = std::time(nullptr);
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    std::string header = std::string("Messages of the start of ") + when + "\n";
    WriteLog(header.data(), header.size());
    return "";
}

const std::string& RunLogPath()
{
    return Messages.logPath;
}

void Say(const std::string& line)
{
    std::string text = "vellomira: " + line + "\n";
    WriteToDescriptor(2, text.data(), text.size());
    WriteLog(text.data(), text.size());
}

bool PassOn(int descriptor, const char* bytes, size_t size)
{
    WriteLog(bytes, size);
    return WriteToDescriptor(descriptor, bytes, size) == size;
}

void ShowFailure(const std::string& text)
{
    if (Messages.errorIsTerminal)
        return;
    std::string shown = text;
    while (!shown.empty() && shown.back() == '\n')
        shown.pop_back();
    if (!Messages.logPath.empty())
        shown += "\n\nThe messages of this start are kept in " + ShownPath(Messages.logPath) + ".";
    PlatformShowMessage("Vellomira could not start", shown.c_str());
}

int StartFailed(const std::string& problem)
{
    Say(problem);
    ShowFailure(problem);
    return 1;
}
