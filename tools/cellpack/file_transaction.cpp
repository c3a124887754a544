// All-or-nothing changes of files: written beside, kept by a second name, then renamed.
#include "tools/cellpack/file_transaction.h"

#include "runtime/platform/system.h"
#include "tools/cellpack/file_bytes.h"

#include <cerrno>
#include <cstring>

namespace {
struct Step {
    const FileChange* change;
    std::string part; // the new content beside the file
    std::string kept; // the old file under a second name, or "" when there was none
    bool done = false;
};

// Puts every file back as it was and removes what was written beside.
void Undo(std::vector<Step>& steps)
{
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        const std::string& path = step->change->path;
        if (step->done && !step->kept.empty())
            SystemReplaceFile(step->kept, path);
        else if (step->done && !step->change->remove)
            SystemRemoveFile(path);
        else if (!step->kept.empty())
            SystemRemoveFile(step->kept);
        if (!step->part.empty())
            SystemRemoveFile(step->part);
    }
}

// Writes the new content beside the file and links the old one to a second name.
std::string Prepare(Step& step)
{
    const FileChange& change = *step.change;
    std::string suffix = std::to_string(SystemProcessNumber());
    if (!change.remove) {
        step.part = change.path + ".part" + suffix;
        std::string error = WriteFileBytes(step.part, change.bytes);
        if (!error.empty()) {
            step.part.clear();
            return error;
        }
    }
    if (!SystemEntryExists(change.path))
        return "";
    // A second link costs nothing; a file system without links gets a copy.
    step.kept = change.path + ".was" + suffix;
    if (SystemLinkFile(change.path, step.kept))
        return "";
    std::vector<uint8_t> old;
    std::string error = ReadFileBytes(change.path, old);
    if (error.empty())
        error = WriteFileBytes(step.kept, old);
    if (!error.empty())
        step.kept.clear();
    return error;
}

std::string Commit(Step& step)
{
    const std::string& path = step.change->path;
    bool done = step.change->remove ? SystemRemoveFile(path) : SystemReplaceFile(step.part, path);
    if (!done)
        return path + (step.change->remove ? ": cannot remove: " : ": cannot write: ") +
               std::strerror(errno);
    step.done = true;
    step.part.clear();
    return "";
}
} // namespace

std::string ChangeFiles(const std::vector<FileChange>& changes)
{
    std::vector<Step> steps;
    for (const FileChange& change : changes)
        steps.push_back({&change, "", ""});
    std::string error;
    for (Step& step : steps)
        if (error.empty())
            error = Prepare(step);
    for (Step& step : steps)
        if (error.empty())
            error = Commit(step);
    if (!error.empty()) {
        Undo(steps);
        return error;
    }
    for (Step& step : steps)
        if (!step.kept.empty())
            SystemRemoveFile(step.kept);
    return "";
}
