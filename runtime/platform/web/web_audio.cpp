// Web Audio: a context the sound layer can open; the game plays nothing through it.
#include "runtime/platform/platform.h"
#include "runtime/platform/web/web_browser.h"

int32_t PlatformOpenAudio()
{
    return WebOpenAudio();
}

void PlatformCloseAudio()
{
    WebCloseAudio();
}
