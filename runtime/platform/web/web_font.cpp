// The browser build's default font: the file the site ships, where the page's file system
// holds it (VELLOMIRA_FONT_FILE).
#include "runtime/platform/system.h"

std::string SystemDefaultFontFile(const char*)
{
    return VELLOMIRA_FONT_FILE;
}
