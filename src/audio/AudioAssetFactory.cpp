#include "audio/AudioAssetFactory.h"

#include "audio/Sound.h"

namespace zentrix {

std::unique_ptr<ISoundAsset> CAudioAssetFactory::NewSound() {
    return std::make_unique<CSound>(m_controller);
}

std::unique_ptr<IMusicAsset> CAudioAssetFactory::NewMusic() {
    return nullptr;
}

} // namespace zentrix
