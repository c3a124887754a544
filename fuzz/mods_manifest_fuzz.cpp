// The manifest of add-mods (cell/mods.manifest): any text is read or refused with a line
// named, never more; what is read is written back to a text that reads the same, whatever
// bytes the type folders' names hold.
#include "tools/cellpack/mods_manifest.h"

#include <cstdlib>
#include <string>

namespace {
bool SameManifest(const ModsManifest& a, const ModsManifest& b)
{
    if (a.present != b.present || a.listHash != b.listHash || a.base != b.base ||
        a.baseHash != b.baseHash || a.made.size() != b.made.size())
        return false;
    for (size_t i = 0; i < a.made.size(); ++i) {
        const MadeType &x = a.made[i], &y = b.made[i];
        if (x.type != y.type || x.spawn != y.spawn || x.frames != y.frames || x.pack != y.pack ||
            x.hash != y.hash || x.source != y.source)
            return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    ModsManifest manifest = ParseModsManifest(text);
    if (manifest.present != manifest.problem.empty())
        std::abort();
    if (!manifest.present)
        return 0;
    ModsManifest again = ParseModsManifest(ModsManifestText(manifest));
    if (!SameManifest(manifest, again))
        std::abort();
    return 0;
}
