#pragma once

#include <cstdint>
#include <memory>

namespace plat::mixer {

/// The system's audio output through SDL: 16-bit stereo at the asked rate (SDL converts for the
/// device), pulled in buffers of 512 frames from SDL's audio thread.
class AudioDevice {
public:
    /// Called on the audio thread to fill `frames` interleaved stereo frames.
    using FillFunction = void (*)(void* user, std::int16_t* out, int frames);

    /// Opens the default device and starts it; null (with the reason logged) when there is none.
    static std::unique_ptr<AudioDevice> Open(int rate, FillFunction fill, void* user);
    /// Stops the device; returns once the audio thread has left the fill function for good.
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

private:
    AudioDevice() = default;
    static void Callback(void* user, std::uint8_t* stream, int length);

    std::uint32_t m_device = 0;
    FillFunction m_fill = nullptr;
    void* m_user = nullptr;
};

} // namespace plat::mixer
