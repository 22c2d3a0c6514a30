#pragma once

#include "foundation/assets/AudioAssets.h"

#include <memory>

namespace zentrix {

class CMusicManager;
class ISoundControllerLink;

/// Makes the asset manager's sounds and music: each sound a `CSound` that opens its wave in the mixer of
/// the sound controller, each piece a `CMusic` loaded in the music manager's player.
class CAudioAssetFactory : public IAudioAssetFactory {
public:
    /// `controller` and `music` (null: no music is made) must outlive every sound and piece made (the
    /// asset manager stops before them).
    explicit CAudioAssetFactory(ISoundControllerLink& controller, CMusicManager* music = nullptr)
        : m_controller(controller), m_music(music) {}

    std::unique_ptr<ISoundAsset> NewSound() override;
    std::unique_ptr<IMusicAsset> NewMusic() override;

private:
    ISoundControllerLink& m_controller;
    CMusicManager* m_music;
};

} // namespace zentrix
