#include "audio/Sound.h"

#include "audio/SoundControllerLink.h"
#include "audio/WaveImage.h"
#include "platform/mixer/Mixer.h"
#include "platform/system/DebugOutput.h"

#include <string>
#include <utility>

namespace zentrix {

namespace {

int g_liveSounds = 0;

} // namespace

CSound::CSound(ISoundControllerLink& controller) : m_controller(controller) {
    ++g_liveSounds;
}

CSound::~CSound() {
    FreeWave();
    --g_liveSounds;
}

int CSound::GetLiveCount() {
    return g_liveSounds;
}

void CSound::FreeWave() {
    if (!m_wave)
        return;
    // A mixer instance other than the one the wave was opened in refuses the handle.
    if (plat::mixer::Mixer* mixer = m_controller.GetMixerHandle())
        mixer->FreeWave(m_wave);
    m_wave = {};
}

void CSound::Load(int assetId, std::vector<std::uint8_t> image, int owner) {
    FreeWave();
    m_assetId = assetId;
    m_owner = owner;
    m_image = std::move(image);
    m_samplingRate = 0;
    SWaveImage wave;
    std::string error;
    if (!ReadWaveImage(m_image.data(), m_image.size(), wave, error)) {
        plat::system::DebugOutput("sound " + std::to_string(assetId) + ": " + error);
        return;
    }
    m_samplingRate = wave.format.samplesPerSecond;
    plat::mixer::Mixer* mixer = m_controller.GetMixerHandle();
    if (!mixer) {
        plat::system::DebugOutput("sound " + std::to_string(assetId) + ": no mixer runs");
        return;
    }
    m_wave = mixer->OpenWave(wave.format, m_image.data() + wave.dataOffset, wave.dataLength);
    if (!m_wave)
        plat::system::DebugOutput("sound " + std::to_string(assetId) + ": " +
                                  plat::mixer::Mixer::GetErrorText(mixer->GetLastError()));
}

bool CSound::IsLoaded() const {
    return static_cast<bool>(m_wave) && m_controller.GetMixerHandle() != nullptr;
}

} // namespace zentrix
