#pragma once

#include "foundation/assets/AudioAssets.h"

#include <memory>

namespace zentrix {

class ISoundControllerLink;

/// Makes the asset manager's sounds: each a `CSound` that opens its wave in the mixer of the sound
/// controller. Music has no asset class yet, so no music is made.
class CAudioAssetFactory : public IAudioAssetFactory {
public:
    /// `controller` must outlive every sound made (the asset manager stops before the controller).
    explicit CAudioAssetFactory(ISoundControllerLink& controller) : m_controller(controller) {}

    std::unique_ptr<ISoundAsset> NewSound() override;
    std::unique_ptr<IMusicAsset> NewMusic() override;

private:
    ISoundControllerLink& m_controller;
};

} // namespace zentrix
