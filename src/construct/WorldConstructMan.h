#pragma once

#include "world/WorldMan.h"

#include <memory>
#include <string>

namespace zentrix {

class CTrackObject;
class IConstructCamera;
class IConstructPanel;
class IConstructRoute;
class IConstructServices;

/// The track editor's world (id 2). The first world created, it sets up the shared world that every
/// world uses from then on. It keeps the track across visits in "AutoSaved.trk", holds the piece in hand
/// and the track's name, turns the panel's commands into edit modes and track commands, and hands the
/// clicks on the 3D view to the current edit mode.
class CWorldConstructMan : public CWorldMan {
public:
    class CCursorMode;
    class CAddItemMode;
    class CEraserMode;
    class CPickupMode;

    /// Edit modes. 2, 3 (set by the panel while it slides in) and 5 (on leaving) have no mode object.
    enum EMode : int {
        kModeAdd = 0,
        kModeErase = 1,
        kModeNone = 2,
        kModePanel = 3,
        kModePickup = 4,
        kModeLeaving = 5
    };
    /// Messages the panels post to the editor.
    static constexpr int kMsgTurnCamera = 44;
    static constexpr int kMsgAddMode = 49;
    static constexpr int kMsgEraseMode = 50;
    static constexpr int kMsgNewTrack = 51;
    static constexpr int kMsgZoomCamera = 56;
    /// The latest-message type of a mouse button released over the window.
    static constexpr int kMsgClick = 21;
    /// The editor's own panel (slide-out index) and game state.
    static constexpr int kPanel = 0;
    static constexpr int kEditorState = 3;
    /// The track kept across visits, in the saved-tracks slot.
    static constexpr const char* kAutoSaveName = "AutoSaved.trk";
    static constexpr int kAutoSaveSlot = 1;
    /// An auto-save the track reader refused is kept under its name with this added (then ".2", ...).
    static constexpr const char* kRefusedSuffix = ".refused";
    /// The setting that keeps the track's name, and the text of the default name.
    static constexpr const char* kTrackNameSetting = "AutoSave_Track_Name";
    static constexpr int kDefaultNameText = 7650;

    /// The piece last lifted off the grid, to be put back where it was.
    struct SLiftedPiece {
        int assetId = -1;
        int x = 0;
        int z = 0;
        int rotation = 0;
    };

    /// An editor on the application's services.
    CWorldConstructMan();
    /// An editor on `services`.
    explicit CWorldConstructMan(std::unique_ptr<IConstructServices> services);
    ~CWorldConstructMan() override;

    /// The shared world is set up and the edit modes made; 1 when the shared world cannot be set up.
    int Create() override;
    /// The shared world freed and the edit modes deleted (only when created).
    int Destroy() override;
    /// The track is converted to the theme and the ambience follows it.
    void SetTheme(int theme) override;
    /// The base tick, then the objects' updates and simulation (no collisions) and the shadows.
    void Tick(unsigned ms) override;
    /// Entry: ambience, no background, the auto-saved track (or an empty one), pick-up mode, no piece in
    /// hand, the stored name, the route.
    void Activate() override;
    /// Exit (only while current): a carried start piece put back, the auto-save written, the world
    /// cleared.
    void Deactivate() override;
    /// The panels' commands: camera turn and zoom, add and erase modes, a new track.
    void PreFrame() override;
    /// PreFrame and the base tick; then, while this world is current and its panel fully shown, the
    /// click, the pointer, the world's tick and the route's error mark.
    void Frame(unsigned ms) override;
    /// The auto-saved track taken up (or an empty track made) before the world is entered.
    void ResumeAutoSave();

    /// Enters an edit mode (only while this world is current); a number without a mode is only stored.
    void SetMode(int mode);
    int GetMode() const { return m_mode; }
    /// The piece in hand, handed to the add mode's preview.
    void SetCurrentPiece(int assetId, bool hidden);
    int GetCurrentPiece() const { return m_currentPiece; }
    /// Stores the name, shows it on the panel and keeps it in the settings.
    void SetTrackName(const std::string& name);
    std::string GetTrackName() const { return m_trackName; }
    /// The stored name, or the default one when none is stored.
    void RestoreTrackName();
    void SetDefaultTrackName();
    /// In add mode with the current theme's start piece in hand.
    bool IsCarryingStartPiece() const;
    /// The panel's verdict; false without the editor's panel.
    bool IsTrackTooLong();
    /// The start piece covers cell (x, z).
    bool IsStartPieceAt(int x, int z) const;
    /// Every piece, or else ground object, of the grid stops being highlighted.
    void ClearAllHighlights();
    /// The pointer image of the current mode (0 in a mode without an object); the add mode's image.
    int GetPointerId() const;
    void SetPointerId(int id);

    /// The quarter turn of the piece in hand, shared by the modes.
    int GetPreviewRotation() const { return m_previewRotation; }
    void SetPreviewRotation(int rotation) { m_previewRotation = rotation & 3; }
    const SLiftedPiece& GetLiftedPiece() const { return m_liftedPiece; }
    void SetLiftedPiece(const SLiftedPiece& piece) { m_liftedPiece = piece; }

    /// The camera the editor drives (null: the engine's camera is left alone).
    void SetCamera(std::unique_ptr<IConstructCamera> camera);
    IConstructCamera* GetCamera() const { return m_camera.get(); }
    IConstructServices& GetConstructServices() const { return *m_services; }
    /// The editor's panel, when it is one that takes the editor's calls.
    IConstructPanel* GetPanel() const;
    IConstructRoute* GetRoute() const;
    /// The route rebuilt over the grid (nothing without a route).
    void RebuildRoute();

    CAddItemMode* GetAddMode() const { return m_addMode.get(); }
    CEraserMode* GetEraserMode() const { return m_eraserMode.get(); }
    CPickupMode* GetPickupMode() const { return m_pickupMode.get(); }
    /// The object of the current mode (add, eraser, pick-up); null in the other modes.
    CCursorMode* GetCurrentModeObject() const;

private:
    void LoadAutoSave();
    /// The auto-save's path in the game's form; empty without the saved-tracks folder.
    std::string AutoSavePath() const;
    /// Moves an auto-save that could not be taken aside, whole, and says so.
    void KeepRefusedAutoSave();
    /// Writes the track over the auto-save; a failure is reported with the file and the reason.
    void SaveAutoSave();
    void DropClicks();
    void NewTrack();
    void HandleButtonRelease();
    void UpdateMouseCamera(unsigned ms);
    void MarkRouteError();
    /// Whether the current mode points at the object.
    bool IsTargetedByMode(const CWorldObject* object) const;

    std::unique_ptr<IConstructServices> m_services;
    int m_currentPiece = -1;
    std::string m_trackName;
    int m_mode = kModePickup;
    std::unique_ptr<CEraserMode> m_eraserMode;
    std::unique_ptr<CAddItemMode> m_addMode;
    std::unique_ptr<CPickupMode> m_pickupMode;
    std::unique_ptr<IConstructCamera> m_camera;
    int m_previewRotation = 0;
    SLiftedPiece m_liftedPiece;
    bool m_created = false;
    /// A refused auto-save could not be moved aside: it is not written over this visit.
    bool m_keepAutoSave = false;
};

} // namespace zentrix
