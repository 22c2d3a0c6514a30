#pragma once

#include "foundation/assets/AudioAssets.h"
#include "platform/mixer/MixerTypes.h"

#include <cstdint>
#include <vector>

namespace zentrix {

class ISoundControllerLink;

/// One loaded sound: the RIFF WAVE image of a sound asset, read for its format and samples and opened as
/// a wave of the running mixer instance. The asset manager makes one per sound id on first request and
/// keeps it until it stops.
class CSound : public ISoundAsset {
public:
    /// An empty sound; waves are opened in, and freed from, the mixer that `controller` names at the time.
    explicit CSound(ISoundControllerLink& controller);
    /// Frees the wave (which stops the channels playing it) when one was opened.
    ~CSound() override;
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    /// Takes the image, reads it and opens its wave; a bad image is logged and leaves the sound unloaded.
    /// `owner` is the owner the asset manager frees it by.
    void Load(int assetId, std::vector<std::uint8_t> image, int owner) override;
    /// Whether a wave is open and a mixer instance runs.
    virtual bool IsLoaded() const;
    bool IsValid() const override { return IsLoaded(); }
    int GetOwner() const override { return m_owner; }

    int GetAssetId() const { return m_assetId; }
    /// The mixer's handle of the wave (null until loaded).
    plat::mixer::WaveHandle GetWaveHandle() const { return m_wave; }
    /// Samples per second of the wave; the sound manager plays it at this frequency.
    std::uint32_t GetSamplingRate() const { return m_samplingRate; }

    /// Number of sounds in existence.
    static int GetLiveCount();

private:
    void FreeWave();

    ISoundControllerLink& m_controller;
    int m_assetId = 0;
    int m_owner = -1;
    plat::mixer::WaveHandle m_wave;
    std::uint32_t m_samplingRate = 0;
    std::vector<std::uint8_t> m_image;
};

} // namespace zentrix
