#pragma once

#include "world/ControllerWorldSounds.h"
#include "world/WorldServices.h"

#include <memory>

namespace zentrix {

class CAssetAnimTextures;
class CAssetRenderAssets;

/// The world's services from the one application object's managers (each absent while the application
/// or the manager is). Sprites, shadows and animations read the asset manager.
class CAppWorldServices : public IWorldServices {
public:
    CAppWorldServices();
    ~CAppWorldServices() override;
    CAppWorldServices(const CAppWorldServices&) = delete;
    CAppWorldServices& operator=(const CAppWorldServices&) = delete;

    CAssetMan* GetAssetMan() override;
    CEngineMan* GetEngineMan() override;
    IRenderAssets* GetRenderAssets() override;
    IAnimTextures* GetAnimTextures() override;
    float GetFrameFactor() const override;
    void ClearMessages() override;
    int GetPreviousGameState() const override;
    void BuildRaceSetup(CRaceSetup& setup) override;
    void SetInputRecording(bool on) override;
    void SetInputPlayback(bool on) override;
    CSlideOut* FindSlideOut(int index) override;
    bool UseGameTimer() const override;
    void Log(int channel, const std::string& text) override;
    void Trace(int level, const std::string& text) override;
    IWorldSounds* GetSounds() override { return &m_sounds; }
    int GetGameState() const override;

private:
    /// Makes the adapters over the asset manager on first use, and again when the application has
    /// another one; false without an asset manager.
    bool EnsureAdapters();

    std::unique_ptr<CAssetRenderAssets> m_renderAssets;
    std::unique_ptr<CAssetAnimTextures> m_animTextures;
    CAssetMan* m_assetsOfAdapters = nullptr;
    CControllerWorldSounds m_sounds;
};

} // namespace zentrix
