// The messages of a start, on standard error and in the player's folder.
#include "launcher/run_log.h"

#include "runtime/platform/descriptor_io.h"
#include "runtime/platform/platform.h"

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

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
    Messages.outputIsTerminal = isatty(STDOUT_FILENO) == 1;
    Messages.errorIsTerminal = isatty(STDERR_FILENO) == 1;
}

bool OutputIsTerminal()
{
    return Messages.outputIsTerminal;
}

std::string OpenRunLog(const std::string& folder)
{
    // Written beside and renamed at once: a start that runs meanwhile keeps writing to its own.
    std::string path = folder + "/vellomira.log", part = path + ".part" + std::to_string(getpid());
    int log = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (log < 0 || std::rename(part.c_str(), path.c_str()) != 0) {
        if (log >= 0)
            close(log), unlink(part.c_str());
        return path + ": cannot be written; the messages go to standard error alone";
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
    WriteToDescriptor(STDERR_FILENO, text.data(), text.size());
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
        shown += "\n\nThe messages of this start are kept in " + Messages.logPath + ".";
    PlatformShowMessage("Vellomira could not start", shown.c_str());
}

int StartFailed(const std::string& problem)
{
    Say(problem);
    ShowFailure(problem);
    return 1;
}
