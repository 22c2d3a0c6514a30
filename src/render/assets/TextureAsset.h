#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zentrix {

class CAssetMan;
class CTexture;

/// One engine texture made from a TGA asset, with the flag bytes the game keeps for it.
class CTextureAsset {
public:
    /// Reads the asset's picture: from the libraries by the resource table's path of the id, else from
    /// the file at the full path; without a table entry the asset is not loaded.
    CTextureAsset(int id, const std::string& path, std::intptr_t ownerKey, CAssetMan& assets);
    /// Deletes the engine texture.
    virtual ~CTextureAsset();
    CTextureAsset(const CTextureAsset&) = delete;
    CTextureAsset& operator=(const CTextureAsset&) = delete;

    int GetId() const { return m_id; }
    std::intptr_t GetOwnerKey() const { return m_ownerKey; }
    /// The file name: the path after its last "\".
    const std::string& GetName() const { return m_name; }
    const std::string& GetPath() const { return m_path; }
    CTexture* GetEngineTexture() const { return m_texture; }
    bool IsLoaded() const { return m_loaded; }
    /// Flag byte i (0..3); other indices are ignored and read 0.
    void SetFlag(int i, std::uint8_t value);
    std::uint8_t GetFlag(int i) const;

private:
    CTexture* m_texture = nullptr; ///< owned through the engine's texture list
    std::string m_name;
    std::string m_path;
    int m_id;
    std::intptr_t m_ownerKey;
    std::array<std::uint8_t, 4> m_flags{};
    bool m_loaded = false;
};

} // namespace zentrix
