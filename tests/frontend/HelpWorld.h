#pragma once

#include "foundation/assets/AssetMan.h"
#include "frontend/HelpManager.h"
#include "frontend/HelpPanel.h"
#include "frontend/HelpPanelServices.h"
#include "frontend/HelpSound.h"
#include "render/Overlay.h"
#include "support/PanelDoubles.h"
#include "ui/SlideOutMan.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace zentrix;

namespace frontendtest {

/// The help channel as the sound controller keeps it: an item plays until it ends or is stopped, a new
/// one takes the channel over. Plays and stops of a playing item are logged.
struct FakeHelpSound : IHelpSound {
    void PlayHelpSound(int soundId, bool loop) override {
        log.push_back((loop ? "loop " : "play ") + std::to_string(soundId));
        playing = true;
    }
    void StopHelpSound() override {
        if (playing)
            log.push_back("stop");
        playing = false;
    }
    bool IsHelpSoundPlaying() const override { return playing; }
    /// The item playing comes to its end.
    void End() { playing = false; }

    std::vector<std::string> log;
    bool playing = false;
};

/// The help panel's services over the sample set: a drawing list of its own (or none), 5-6-5 memory
/// surfaces (or none, or one that cannot be filled), the front panel of a slide-out manager, a log of
/// errors.
struct FakeHelpPanelServices : IHelpPanelServices {
    enum class Surfaces { kMade, kNone, kLocked };

    bool AddRenderObject(std::unique_ptr<COverlay>& overlay) override;
    std::unique_ptr<COverlay> RemoveRenderObject(COverlay* overlay) override;
    std::unique_ptr<plat::gfx2d::Surface> CreateSurface(int width, int height) override;
    CSlideOut* GetFrontPanel() override { return panels ? panels->GetActiveSlideOut() : nullptr; }
    CHelpManager* GetHelpManager() override { return help; }
    int GetUnlockStage() override { return unlockStage; }
    bool GetAssetPath(int assetId, std::string& out) override {
        return assets && assets->GetAssetPath(assetId, out);
    }
    float GetFrameFactor() override { return frameFactor; }
    bool HasMainScreenBeenReached() override { return mainScreenReached; }
    void LogError(const std::string& text) override { errors.push_back(text); }
    bool IsDrawn(const COverlay* overlay) const;

    std::vector<std::unique_ptr<COverlay>> drawn;
    CSlideOutMan* panels = nullptr;
    CHelpManager* help = nullptr;
    CAssetMan* assets = nullptr;
    int unlockStage = 0;
    float frameFactor = 1.0f;
    bool drawingList = true;
    Surfaces surfaces = Surfaces::kMade;
    bool mainScreenReached = true;
    std::vector<std::string> errors;
};

/// Panel services that read records, pictures and texts from the sample set.
struct SamplePanelServices : testsupport::RecordingPanelServices {
    bool GetInt(int assetId, int dataId, int& out, int element) override {
        return assets->GetInt(assetId, dataId, out, element);
    }
    bool GetVector(int assetId, int dataId, CVector& out, int element) override {
        return assets->GetVector(assetId, dataId, out, element);
    }
    bool GetAssetData(int assetId, std::vector<std::uint8_t>& out) override {
        return assets->GetAssetData(assetId, out);
    }
    bool LoadAssetIntoString(int assetId, std::string& out) override {
        return assets->LoadAssetIntoString(assetId, out);
    }
    CAssetMan* assets = nullptr;
};

/// Spoken help on the sample set: the slide-out manager with plain panels, the one help panel they share
/// and the help manager on the fake help channel, started. The working folder is the sample set meanwhile.
class HelpWorld {
public:
    /// Panel indices: the main panel shows the help corner, the new-track panel does not.
    static constexpr int kMainPanel = 7;
    static constexpr int kNoHelpPanel = 2;

    HelpWorld();
    ~HelpWorld();
    HelpWorld(const HelpWorld&) = delete;
    HelpWorld& operator=(const HelpWorld&) = delete;

    /// Brings panel `index` to the front, shown at once.
    void ShowPanel(int index);
    /// `count` help updates of `ms` each.
    void Update(int ms, int count = 1);
    /// Pixel (x, y) of the help picture (0 while it is closed).
    std::uint16_t HelpPixel(int x, int y);
    /// The number of the help video's frame that the character's window (at 23, 7) shows.
    int HelpFrame();

    std::filesystem::path previous;
    std::unique_ptr<CAssetMan> assets;
    SamplePanelServices panelServices;
    FakeHelpPanelServices helpServices;
    FakeHelpSound sound;
    std::unique_ptr<CHelpPanel> helpPanel;
    std::unique_ptr<CHelpManager> help;
    std::unique_ptr<CSlideOutMan> panels;
};

} // namespace frontendtest
