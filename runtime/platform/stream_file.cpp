// C streams on the system's descriptors, so that they open as the system's files do: never a
// folder, never waiting, bytes unchanged, names in the system's own form.
#include "runtime/platform/descriptor_io.h"
#include "runtime/platform/system.h"

#include <fcntl.h>
#include <string_view>

std::FILE* SystemOpenStream(const std::string& path, const char* mode)
{
    std::string_view asked = mode;
    int flags = asked == "rb"    ? O_RDONLY
                : asked == "wb"  ? O_WRONLY | O_CREAT | O_TRUNC
                : asked == "wbx" ? O_WRONLY | O_CREAT | O_EXCL
                                 : -1;
    int handle = flags < 0 ? -1 : SystemOpenFile(path, flags);
    if (handle < 0)
        return nullptr;
    std::FILE* file = fdopen(handle, asked == "rb" ? "rb" : "wb");
    if (!file)
        CloseDescriptor(handle);
    return file;
}
