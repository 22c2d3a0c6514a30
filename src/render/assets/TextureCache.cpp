#include "render/assets/TextureCache.h"

#include "foundation/assets/AssetMan.h"
#include "foundation/base/FatalError.h"
#include "foundation/resources/AsciiCase.h"
#include "foundation/string/DStr.h"

namespace zentrix {

CTextureCache::CTextureCache(CAssetMan& assets) : m_assets(assets) {}

CTextureCache::~CTextureCache() {
    Clear();
}

CTextureAsset* CTextureCache::FindById(int id) const {
    for (const auto& texture : m_textures)
        if (texture->GetId() == id)
            return texture.get();
    return nullptr;
}

CTextureAsset* CTextureCache::FindByName(const std::string& name) const {
    for (const auto& texture : m_textures)
        if (AsciiCase::Equal(texture->GetName(), name))
            return texture.get();
    return nullptr;
}

CTextureAsset* CTextureCache::FindByTexture(const CTexture* texture) const {
    for (const auto& asset : m_textures)
        if (texture && asset->GetEngineTexture() == texture)
            return asset.get();
    return nullptr;
}

CTextureAsset* CTextureCache::GetOrLoad(int id, const std::string& path) {
    if (id != -1)
        if (CTextureAsset* cached = FindById(id))
            return cached;
    auto texture = std::make_unique<CTextureAsset>(id, path, 0, m_assets);
    if (!texture->IsLoaded()) {
        texture.reset();
        FatalError("Load Texture Failure %s", path.c_str());
    }
    ReadFlags(*texture);
    m_textures.push_back(std::move(texture));
    return m_textures.back().get();
}

void CTextureCache::ReadFlags(CTextureAsset& texture) {
    for (int dataId = 140; dataId <= 147; ++dataId) {
        char text[1024];
        if (!m_assets.GetString(kFlagRecordId, dataId, text, sizeof text))
            return;
        for (int listed : SplitToInts(text, ',')) {
            if (listed == texture.GetId()) {
                texture.SetFlag(0, 1);
                return;
            }
        }
    }
}

void CTextureCache::ReleaseByOwner(std::intptr_t key) {
    // Every texture the cache makes has key 0, so that key would take textures still in use.
    if (key == 0)
        return;
    m_textures.remove_if([key](const auto& texture) { return texture->GetOwnerKey() == key; });
}

void CTextureCache::Clear() {
    m_textures.clear();
}

} // namespace zentrix
