#pragma once

#include "render/assets/TextureAsset.h"

#include <list>
#include <memory>
#include <string>

namespace zentrix {

/// The textures loaded so far, one per asset id, in order of loading.
class CTextureCache {
public:
    /// The asset whose flag byte 0 marks the textures whose faces the ground lookup skips.
    static constexpr int kFlagRecordId = 40005;

    explicit CTextureCache(CAssetMan& assets);
    virtual ~CTextureCache();
    CTextureCache(const CTextureCache&) = delete;
    CTextureCache& operator=(const CTextureCache&) = delete;

    CTextureAsset* FindById(int id) const;
    /// The asset whose name equals name ignoring case.
    CTextureAsset* FindByName(const std::string& name) const;
    /// The asset that owns an engine texture.
    CTextureAsset* FindByTexture(const CTexture* texture) const;
    /// The cached asset of the id (an id of -1 is never looked up), else a new one with its flags read
    /// from the flag record. A texture that cannot be loaded ends the program ("Load Texture Failure").
    CTextureAsset* GetOrLoad(int id, const std::string& path);
    /// Deletes the textures of an owner key; a key of 0 (every texture the cache made) removes nothing.
    void ReleaseByOwner(std::intptr_t key);
    /// Deletes every texture.
    void Clear();
    std::size_t Count() const { return m_textures.size(); }

private:
    void ReadFlags(CTextureAsset& texture);

    CAssetMan& m_assets;
    std::list<std::unique_ptr<CTextureAsset>> m_textures;
};

} // namespace zentrix
