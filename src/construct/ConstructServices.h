#pragma once

#include <string>
#include <string_view>

namespace zentrix {

class CAssetMan;
class CEngineMan;
class CEventMan;
class CSlideOut;
class IConstructRoute;

/// What the track editor takes from the rest of the program: the managers it reads, the pointer, the
/// panels, the game state, sounds, spoken help, the stored track name and the route over the track.
/// `CAppConstructServices` fills it from the application object; every getter may answer null.
class IConstructServices {
public:
    virtual ~IConstructServices() = default;

    virtual CAssetMan* GetAssetMan() = 0;
    /// The engine manager: the camera, the background picture.
    virtual CEngineMan* GetEngineMan() = 0;
    /// The application message queue.
    virtual CEventMan* GetEventMan() = 0;
    /// The live panel of a slide-out index, or null.
    virtual CSlideOut* FindPanel(int index) = 0;
    /// The slide-out index of the panel in front (-1 none).
    virtual int GetFrontPanel() = 0;
    /// The current game state.
    virtual int GetGameState() = 0;
    /// The pointer's last position in the main window, in screen pixels.
    virtual int GetMouseX() = 0;
    virtual int GetMouseY() = 0;
    virtual int GetScreenWidth() = 0;
    virtual int GetScreenHeight() = 0;

    /// An interface sound by id.
    virtual void PlayUiSound(int soundId) = 0;
    /// The editor's ambience of the current theme, on or off.
    virtual void StartAmbience() = 0;
    virtual void StopAmbience() = 0;
    /// Spoken help: an item played at once, and an item offered while the pointer stays on something.
    virtual void PlayHelp(int helpId) = 0;
    virtual void OnHelpHover(int helpId) = 0;
    virtual void OnHelpHoverEnd(int helpId) = 0;

    /// A stored text setting; false when it is absent.
    virtual bool GetSetting(std::string_view name, std::string& text) = 0;
    virtual void SetSetting(std::string_view name, std::string_view text) = 0;

    /// A file the editor could not read or write: into the error manager's file-access log, with the
    /// system's error number (0 none), and onto standard error.
    virtual void ReportFileError(const std::string& text, int errorNumber) = 0;

    /// The route over the track the editor rebuilds and marks (null: none is kept yet).
    virtual IConstructRoute* GetRoute() = 0;
};

} // namespace zentrix
