// SDL2 audio: the default output device, opened paused (nothing is mixed into it yet).
#include "runtime/platform/platform.h"
#include "runtime/platform/sdl2/sdl2_display.h"

#include <SDL.h>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
struct Sdl2Audio {
    SDL_AudioDeviceID device = 0;
};
Sdl2Audio Audio;

bool Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

// Whether any sound output can be there: a sound server's socket, a sound card, or an audio
// driver chosen on purpose. Without one, asking SDL would only spend a tenth of a second
// probing its drivers and let the sound library print its complaints.
bool OutputMayExist()
{
    if (std::getenv("SDL_AUDIODRIVER") || std::getenv("PULSE_SERVER"))
        return true;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"))
        if (Exists(std::string(runtime) + "/pulse/native") ||
            Exists(std::string(runtime) + "/pipewire-0"))
            return true;
    return Exists("/dev/snd") || Exists("/dev/dsp");
}
} // namespace

int32_t PlatformOpenAudio()
{
    if (Audio.device)
        return 1;
    if (!OutputMayExist())
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
