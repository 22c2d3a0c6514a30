#include "render/assets/TextureAsset.h"

#include "engine/Texture.h"
#include "engine/TextureList.h"
#include "foundation/assets/AssetMan.h"

#include <vector>

namespace zentrix {

CTextureAsset::CTextureAsset(int id, const std::string& path, std::intptr_t ownerKey, CAssetMan& assets)
    : m_name(path.substr(path.rfind('\\') == std::string::npos ? 0 : path.rfind('\\') + 1)), m_path(path),
      m_id(id), m_ownerKey(ownerKey) {
    std::string relative;
    if (assets.GetAssetRelativePath(id, relative)) {
        std::vector<std::uint8_t> bytes;
        if (assets.GetAssetDataByName(relative, bytes)) {
            m_texture = NewTextureFromMemory(bytes.data(), bytes.size(), path.c_str());
            m_loaded = true;
        } else {
            m_loaded = CAssetMan::ResourceFileExists(path.c_str());
            m_texture = NewTextureFromFile(path.c_str());
        }
    }
    // Only a texture that exists is named.
    if (m_texture)
        m_texture->SetName(m_name.c_str());
}

CTextureAsset::~CTextureAsset() {
    if (m_texture)
        DeleteTexture(m_texture);
    m_texture = nullptr;
}

void CTextureAsset::SetFlag(int i, std::uint8_t value) {
    if (i >= 0 && i < static_cast<int>(m_flags.size()))
        m_flags[static_cast<std::size_t>(i)] = value;
}

std::uint8_t CTextureAsset::GetFlag(int i) const {
    return i >= 0 && i < static_cast<int>(m_flags.size()) ? m_flags[static_cast<std::size_t>(i)] : 0;
}

} // namespace zentrix
