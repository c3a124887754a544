// SDL2 audio: the default output device, opened paused (nothing is mixed into it yet).
#include "runtime/platform/platform.h"
#include "runtime/platform/sdl2/sdl2_display.h"
#include "runtime/platform/system.h"

#include <SDL.h>

namespace {
struct Sdl2Audio {
    SDL_AudioDeviceID device = 0;
};
Sdl2Audio Audio;
} // namespace

int32_t PlatformOpenAudio()
{
    if (Audio.device)
        return 1;
    if (!SystemSoundOutputMayExist())
        return 0;
    Sdl2PrepareHints();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
        return 0;
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    Audio.device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!Audio.device) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    return 1;
}

void PlatformCloseAudio()
{
    if (!Audio.device)
        return;
    SDL_CloseAudioDevice(Audio.device);
    Audio.device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
