#pragma once

#include "foundation/assets/AssetEngineLink.h"
#include "render/EngineServices.h"
#include "render/ParticleServices.h"

namespace zentrix {

class CApp;

/// The application's side of the engine manager's and the asset manager's links to each other: the
/// engine reads the screen, the pointer, the messages and the assets through it, and the asset manager
/// reaches the engine's lighting and texture loader through it, whichever of them exists at the time.
/// Particle systems read their kinds, textures and scene through it as well.
class CAppEngineLinks final : public IEngineServices, public IAssetEngineLink, public IParticleServices {
public:
    /// Links over `app` (not owned; it must outlive them).
    explicit CAppEngineLinks(CApp& app) : m_app(app) {}

    // IEngineServices
    int GetScreenWidth() const override;
    int GetScreenHeight() const override;
    int GetMouseX() const override;
    int GetMouseY() const override;
    CEventMan* GetEventMan() override;
    int GetWorldTheme() const override;
    std::unique_ptr<CBitmap> GetBitmap(int assetId) override;
    bool GetAssetData(int assetId, std::vector<std::uint8_t>& out) override;
    bool GetInt(int assetId, int dataId, int& out, int element) override;
    float GetFrameFactor() const override;

    // IParticleServices (GetInt above serves both)
    bool GetFloat(int assetId, int dataId, float& out, int element) override;
    bool GetVector(int assetId, int dataId, CVector& out, int element) override;
    bool GetString(int assetId, int dataId, char* buffer, std::size_t size) override;
    CTexture* GetTexture(int assetId) override;
    CScene* GetScene() override;

    // IAssetEngineLink
    void SetBackgroundColour(int world) override;
    void SetupLighting() override;
    void SetUserTextureLoadFunction(TextureLoadFunction load) override;

private:
    CApp& m_app;
};

} // namespace zentrix
