// Loads arbitrary bytes as a sound's RIFF WAVE image and, when they load, plays them for a few buffers at
// a frequency taken from the image's last byte: no crash, no read outside the image, no hang however
// small the wave or large its stated sizes.
#include "audio/Sound.h"
#include "audio/SoundControllerLink.h"
#include "audio/WaveImage.h"
#include "platform/mixer/Mixer.h"
#include "platform/system/DebugOutput.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

class OfflineController final : public zentrix::ISoundControllerLink {
public:
    bool HasErrorManager() const override { return true; }
    zentrix::CSound* GetSound(int) override { return nullptr; }
    plat::mixer::Mixer* GetMixerHandle() override { return m_mixer.get(); }
    void PlayNextAmbienceSample() override {}
    void LogError(const std::string&) override {}

private:
    std::unique_ptr<plat::mixer::Mixer> m_mixer =
        plat::mixer::Mixer::Open(22050, 21, plat::mixer::Output::kOffline);
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static OfflineController controller;
    static const bool quiet = (plat::system::SetDebugOutputEnabled(false), true);
    (void)quiet;

    zentrix::SWaveImage image;
    std::string error;
    const bool read = zentrix::ReadWaveImage(data, size, image, error);
    if (read && (image.dataOffset + image.dataLength > size || image.dataLength == 0))
        std::abort();

    zentrix::CSound sound(controller);
    sound.Load(40000, std::vector<std::uint8_t>(data, data + size), -1);
    if (sound.IsLoaded() != read)
        std::abort();
    if (!sound.IsLoaded())
        return 0;
    plat::mixer::Mixer& mixer = *controller.GetMixerHandle();
    const int hz = size > 0 ? data[size - 1] * 1000 : 22050;
    mixer.SetFrequency(3, hz);
    mixer.Play(3, sound.GetWaveHandle(), size % 3 == 0 ? -1 : 1, true);
    std::vector<std::int16_t> out(2 * 1024);
    for (int buffer = 0; buffer < 4; ++buffer)
        mixer.Render(out.data(), 1024);
    mixer.Poll();
    return 0;
}
