// The default font of the desktop build: the file fontconfig chooses for the pattern.
#include "runtime/platform/system.h"

#include <fontconfig/fontconfig.h>

namespace {
std::string MatchFontFile(const char* pattern)
{
    if (!FcInit())
        return {};
    FcPattern* query = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    if (!query)
        return {};
    FcConfigSubstitute(nullptr, query, FcMatchPattern);
    FcDefaultSubstitute(query);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, query, &result);
    FcPatternDestroy(query);
    if (!match)
        return {};
    FcChar8* file = nullptr;
    std::string found;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
        found = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);
    return found;
}
} // namespace

std::string SystemDefaultFontFile(const char* pattern)
{
    std::string file = MatchFontFile(pattern);
    // Nothing else in the program asks fontconfig anything: its caches can go.
    FcFini();
    return file;
}
