#include "audio/AudioAssetFactory.h"

#include "audio/Music.h"
#include "audio/Sound.h"

namespace zentrix {

std::unique_ptr<ISoundAsset> CAudioAssetFactory::NewSound() {
    return std::make_unique<CSound>(m_controller);
}

std::unique_ptr<IMusicAsset> CAudioAssetFactory::NewMusic() {
    if (!m_music)
        return nullptr;
    return std::make_unique<CMusic>(*m_music);
}

} // namespace zentrix
