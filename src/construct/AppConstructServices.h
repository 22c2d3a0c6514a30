#pragma once

#include "construct/ConstructServices.h"
#include "construct/EditorRoute.h"

namespace zentrix {

/// The editor's services taken from the one application object; each answers null, -1 or nothing while
/// the application or the manager behind it is missing.
class CAppConstructServices : public IConstructServices {
public:
    CAssetMan* GetAssetMan() override;
    CEngineMan* GetEngineMan() override;
    CEventMan* GetEventMan() override;
    CSlideOut* FindPanel(int index) override;
    int GetFrontPanel() override;
    int GetGameState() override;
    int GetMouseX() override;
    int GetMouseY() override;
    int GetScreenWidth() override;
    int GetScreenHeight() override;
    void PlayUiSound(int soundId) override;
    void StartAmbience() override;
    void StopAmbience() override;
    void PlayHelp(int helpId) override;
    void OnHelpHover(int helpId) override;
    void OnHelpHoverEnd(int helpId) override;
    bool GetSetting(std::string_view name, std::string& text) override;
    void SetSetting(std::string_view name, std::string_view text) override;
    void ReportFileError(const std::string& text, int errorNumber) override;
    /// The route the editor works with: the one given, else the application's route manager's.
    IConstructRoute* GetRoute() override;
    void SetRoute(IConstructRoute* route) { m_route = route; }

private:
    IConstructRoute* m_route = nullptr;
    CEditorRoute m_appRoute;
};

} // namespace zentrix
