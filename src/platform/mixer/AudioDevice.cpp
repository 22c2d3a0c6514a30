#include "platform/mixer/AudioDevice.h"

#include "platform/system/DebugOutput.h"

#include <SDL.h>

#include <string>

namespace plat::mixer {

std::unique_ptr<AudioDevice> AudioDevice::Open(int rate, FillFunction fill, void* user) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        system::DebugOutput(std::string("mixer: cannot start audio: ") + SDL_GetError());
        return nullptr;
    }
    std::unique_ptr<AudioDevice> device(new AudioDevice);
    device->m_fill = fill;
    device->m_user = user;
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;
    want.callback = &AudioDevice::Callback;
    want.userdata = device.get();
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts our 16-bit stereo at `rate` for whatever the device takes.
    device->m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device->m_device == 0) {
        system::DebugOutput(std::string("mixer: cannot open the audio device: ") + SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_PauseAudioDevice(device->m_device, 0);
    return device;
}

AudioDevice::~AudioDevice() {
    // Closing waits for a running callback, so the fill function is never entered afterwards.
    SDL_CloseAudioDevice(m_device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioDevice::Callback(void* user, std::uint8_t* stream, int length) {
    const AudioDevice* device = static_cast<const AudioDevice*>(user);
    device->m_fill(device->m_user, reinterpret_cast<std::int16_t*>(stream),
                   length / static_cast<int>(2 * sizeof(std::int16_t)));
}

} // namespace plat::mixer
