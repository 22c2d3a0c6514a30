#pragma once

#include "construct/ConstructPanel.h"
#include "ui/SlideOut.h"

#include <array>
#include <memory>

namespace zentrix {

class CBitmap;
class CPiecePalette;
class CPushButton;
class CToggleButton;
class CTrackLengthMeter;
class CWorldConstructMan;
class IConstructPrinter;

/// The track editor's panel (slide-out 0, game state 3): the piece palette of fifteen cells in three
/// groups with pages, the erase and lighting toggles, the camera's turn and zoom, test drive, print, new
/// track, the way back to the main screen, the track-length gauge and the track's name. It tells the
/// construction world what the player chose through the editor's messages and calls.
class CConstSlideOut : public CSlideOut, public IConstructPanel {
public:
    /// Control ids.
    static constexpr int kThemePicture = 0;
    static constexpr int kLightingToggle = 1;
    static constexpr int kEraseToggle = 2;
    static constexpr int kNewTrackButton = 3;
    static constexpr int kTurnButton = 4;
    static constexpr int kPrintButton = 6;
    static constexpr int kZoomButton = 7;
    static constexpr int kTestDriveButton = 8;
    static constexpr int kFirstGroupButton = 9;
    static constexpr int kFirstCell = 12;
    static constexpr int kArrowButton = 26;
    static constexpr int kMainScreenButton = 27;
    static constexpr int kNameBox = 28;
    /// Tool states: nothing chosen, a piece to add, the eraser.
    static constexpr int kToolNone = 0;
    static constexpr int kToolAdd = 1;
    static constexpr int kToolErase = 2;
    /// Panel updates before an armed test drive runs, and before the pointer is refreshed.
    static constexpr int kTestDriveDelay = 5;
    static constexpr int kPointerDelay = 2;
    /// Pictures and help items.
    static constexpr int kLockImage = 38460;
    static constexpr int kHighlightFrame = 38461;
    static constexpr int kNoPrinterImage = 38451;
    static constexpr int kMeterFull = 38450;
    static constexpr int kMeterEmpty = 38456;
    static constexpr int kLockedHelp = 57207;
    static constexpr int kArrowHelp = 57021;
    static constexpr int kNoPrinterHelp = 57018;
    static constexpr int kStartCarriedHelp = 57033;
    static constexpr int kFromMainScreenHelp = 57031;
    /// The record of the longest tracks (float 407 on 8 x 8, 408 on 16 x 16) and a piece's help field.
    static constexpr int kLimitRecord = 40027;
    static constexpr int kSmallLimitField = 407;
    static constexpr int kLargeLimitField = 408;
    static constexpr int kPieceHelpField = 394;
    /// The pointer outside the panel, and where the panel begins for it.
    static constexpr int kPlainPointer = 28001;
    static constexpr int kPanelLeft = 500;

    /// The panel of record `resourceId`; `printer` prints the view (null: no printer).
    CConstSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel,
                   std::unique_ptr<IConstructPrinter> printer = nullptr);
    ~CConstSlideOut() override;

    /// The layout, the group-button pictures, the gauge (with the small grid's limit until a size is
    /// applied) and the highlight frame.
    void Init() override;
    /// When not yet shown: no tool while the panel comes in, group 0 at page 0 of the current theme, and
    /// the track's name.
    bool Activate(bool immediate) override;
    /// The armed test drive and pointer refresh, the controls and gauge once shown, the highlight frame.
    void Update(int ms) override;
    /// The pointer image of the add mode: the piece's icon over the panel, the plain pointer elsewhere.
    void MouseMove(int x, int y) override;
    void OnControl(int controlId) override;
    void OnMouseHeld(int, int, int) override {}
    /// Keeps the construction world.
    void AttachWorld() override;

    // What the construction world asks of its panel.
    void SelectPiece(int assetId) override;
    void SetHighlightedCell(int cell) override;
    void HighlightCurrentPieceCell() override;
    void UncheckEraseToggle() override;
    void SetTrackNameText(const std::string& name) override;
    bool IsTrackTooLong() override;

    /// The gauge's limit for the small (false) or large grid; true when a limit above 0 was read.
    bool ApplyGridSize(bool large);
    /// The cells, arrow, group buttons, lighting and theme pictures and help items brought up to date.
    void Refresh();
    /// Whether the campaign keeps cell `cell` of the current group and page locked.
    bool IsCellLocked(int cell) const;

    /// What prints the view from now on (null: no printer).
    void SetPrinter(std::unique_ptr<IConstructPrinter> printer);

    CPiecePalette& GetPalette() const { return *m_palette; }
    CTrackLengthMeter* GetMeter() const { return m_meter.get(); }
    int GetToolState() const { return m_toolState; }
    int GetHighlightedCell() const { return m_highlightedCell; }
    int GetCurrentPiece() const { return m_currentPiece; }
    bool IsTestDriveArmed() const { return m_testDriveArmed; }
    bool AreControlsActive() const { return m_controlsActive; }
    CWorldConstructMan* GetWorld() const { return m_world; }

private:
    void SetToolState(int state);
    void SetGroupImages(int group);
    void OnEraseToggle(bool carried);
    void OnTestDrive(bool carried);
    void OnCell(int cell, bool carried, bool& pieceChoice);
    void PutBackStartPiece();
    void Print();
    void RefreshPointer();
    void DrawHighlightFrame();
    /// The icon of a piece found in the theme lists (group 1, then 0, then 2), -1 when in none.
    int FindPieceIcon(int assetId) const;
    CPushButton* Button(int controlId) const;
    CToggleButton* Toggle(int controlId) const;

    bool m_controlsActive = false;
    int m_currentPiece = -1;
    std::unique_ptr<CPiecePalette> m_palette;
    std::unique_ptr<CTrackLengthMeter> m_meter;
    CWorldConstructMan* m_world = nullptr;
    int m_toolState = kToolNone;
    int m_highlightedCell = -1;
    std::unique_ptr<CBitmap> m_highlightFrame;
    bool m_testDriveArmed = false;
    int m_testDriveCountdown = 0;
    bool m_pointerRefreshArmed = false;
    int m_pointerCountdown = 0;
    std::array<int, 6> m_groupImages{-1, -1, -1, -1, -1, -1};
    std::unique_ptr<IConstructPrinter> m_printer;
};

} // namespace zentrix
