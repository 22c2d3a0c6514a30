#include "construct/ConstSlideOut.h"

#include "app/App.h"
#include "app/GameStateMan.h"
#include "app/ScreenSupport.h"
#include "construct/ConstructPrinter.h"
#include "construct/PiecePalette.h"
#include "construct/TrackLengthMeter.h"
#include "construct/WorldConstructMan.h"
#include "engine/DisplayDevice.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/assets/Bitmap.h"
#include "foundation/base/GameStates.h"
#include "platform/gfx2d/Surface.h"
#include "platform/text/Font.h"
#include "race/CampaignMan.h"
#include "race/WorldRaceMan.h"
#include "render/CompoundOverlay.h"
#include "render/EngineMan.h"
#include "ui/PanelServices.h"
#include "ui/PushButton.h"
#include "ui/TextBoxControl.h"
#include "ui/ToggleButton.h"
#include "world/TrackEdit.h"
#include "world/WorldGrid.h"

namespace zentrix {

namespace {

/// Where the gauge lies on the panel.
constexpr int kMeterX = 480;
constexpr int kMeterY = 70;
/// Pictures of the group buttons (normal, selected), the lighting toggle by mode and the theme picture.
constexpr int kGroupImages[] = {38403, 38419, 38417, 38433, 38409, 38425};
constexpr int kLightOn[] = {38408, 38440, 38424};
constexpr int kLightOff[] = {38412, 38444, 38428};
constexpr int kThemeNormal = 38404;
constexpr int kThemeHighlight = 38436;
constexpr int kThemePressed = 38420;
/// The icon of a cell lies a little up and left of its button.
constexpr int kIconOffset = -2;
/// Messages to the construction world.
constexpr int kMsgTurnCamera = 44;
constexpr int kMsgAddMode = 49;
constexpr int kMsgEraseMode = 50;
constexpr int kMsgZoomCamera = 56;
/// The printed title's place above the view and the view's rectangle.
constexpr plat::gfx2d::Rect kTitleRect{0, 10, 640, 60};
constexpr plat::gfx2d::Rect kViewRect{0, 0, 640, 480};
constexpr int kTitleFont = 0;

CAssetMan* Assets() {
    return g_pApp ? g_pApp->GetAssetMan() : nullptr;
}

} // namespace

CConstSlideOut::CConstSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel,
                               std::unique_ptr<IConstructPrinter> printer)
    : CSlideOut(resourceId, manager, usesHelpPanel), m_palette(std::make_unique<CPiecePalette>(&Assets)),
      m_printer(std::move(printer)) {}

CConstSlideOut::~CConstSlideOut() = default;

void CConstSlideOut::SetPrinter(std::unique_ptr<IConstructPrinter> printer) {
    m_printer = std::move(printer);
}

void CConstSlideOut::AttachWorld() {
    m_world = g_pApp ? g_pApp->GetConstructWorld() : nullptr;
}

CPushButton* CConstSlideOut::Button(int controlId) const {
    return dynamic_cast<CPushButton*>(FindControl(controlId));
}

CToggleButton* CConstSlideOut::Toggle(int controlId) const {
    return dynamic_cast<CToggleButton*>(FindControl(controlId));
}

void CConstSlideOut::Init() {
    CSlideOut::Init();
    for (std::size_t i = 0; i < m_groupImages.size(); ++i)
        m_groupImages[i] = kGroupImages[i];
    m_meter = std::make_unique<CTrackLengthMeter>(kMeterX, kMeterY, Services().GetBitmap(kMeterFull),
                                                  Services().GetBitmap(kMeterEmpty));
    // Until a track is loaded or made the grid keeps its first size, the small one: its limit holds.
    ApplyGridSize(CWorldMan::GetGridSizeIndex() == 1);
    m_highlightFrame = Services().GetBitmap(kHighlightFrame);
}

bool CConstSlideOut::ApplyGridSize(bool large) {
    float limit = 0.0f;
    CAssetMan* assets = Assets();
    if (!assets || !assets->GetFloat(kLimitRecord, large ? kLargeLimitField : kSmallLimitField, limit))
        limit = 0.0f;
    return m_meter && m_meter->SetLimit(limit);
}

bool CConstSlideOut::IsTrackTooLong() {
    return m_meter && m_meter->IsOverLimit();
}

bool CConstSlideOut::Activate(bool immediate) {
    if (IsActive())
        return true;
    m_testDriveArmed = false;
    m_pointerRefreshArmed = false;
    m_testDriveCountdown = 0;
    m_pointerCountdown = 0;
    for (int id : {9, 10, 11, 2, 4, 8, 6, 7, 3})
        SetControlSound(id, 0, 0);
    SetSound(0, 0);
    const int mode = m_world ? m_world->GetMode() : CWorldConstructMan::kModePickup;
    if (m_world)
        m_world->SetMode(CWorldConstructMan::kModePanel);
    m_highlightedCell = -1;
    m_palette->SetGroup(0);
    if (CAssetMan* assets = Assets())
        m_palette->SetTheme(assets->GetWorld(), m_world);
    m_palette->SetPage(0);
    SetGroupImages(0);
    CSlideOut::Activate(immediate);
    if (m_world)
        m_world->SetMode(mode);
    Refresh();
    if (m_world)
        SetTrackNameText(m_world->GetTrackName());
    return true;
}

void CConstSlideOut::SetGroupImages(int group) {
    for (int g = 0; g < CPiecePalette::kGroupCount; ++g) {
        CPushButton* button = Button(kFirstGroupButton + g);
        if (!button)
            continue;
        button->SetImage(m_groupImages[static_cast<std::size_t>(g * 2 + (g == group ? 1 : 0))]);
        button->Draw(false);
    }
}

bool CConstSlideOut::IsCellLocked(int cell) const {
    CCampaignMan* campaign = g_pApp ? g_pApp->GetCampaignMan() : nullptr;
    if (!campaign)
        return false;
    // The campaign names a locked piece by the entry its cell shows (group x 100 + entry index).
    int position = -1;
    return campaign->FindLockedItem(m_palette->GetEntryIndex(cell), m_palette->GetGroup(), position);
}

void CConstSlideOut::Refresh() {
    for (int cell = 0; cell < CPiecePalette::kCellCount; ++cell) {
        CPushButton* button = Button(kFirstCell + cell);
        if (!button)
            continue;
        const bool locked = IsCellLocked(cell);
        const int icon = m_palette->GetIconId(cell);
        button->SetExtraImage(locked ? kLockImage : icon, kIconOffset, kIconOffset);
        if (icon == -1 || locked)
            button->Disable();
        else
            button->Enable();
        button->Draw(false);
    }
    if (m_palette->GetArrowKind() != CPiecePalette::kNoArrow)
        if (CPushButton* arrow = Button(kArrowButton)) {
            arrow->Enable();
            arrow->Draw(false);
        }
    for (int g = 0; g < CPiecePalette::kGroupCount; ++g)
        if (CPushButton* button = Button(kFirstGroupButton + g)) {
            if (g == m_palette->GetGroup())
                button->Disable();
            else
                button->Enable();
        }
    CEngineMan* engine = ScreenEngine();
    if (CPushButton* lighting = Button(kLightingToggle)) {
        const int* images = engine && engine->GetLightingMode() != 0 ? kLightOn : kLightOff;
        lighting->SetImage(images[0]);
        lighting->SetHighlightImage(images[1]);
        lighting->SetPressedImage(images[2]);
        lighting->Draw(false);
    }
    CAssetMan* assets = Assets();
    const int theme = assets ? assets->GetWorld() : 0;
    if (CPushButton* picture = Button(kThemePicture); picture && theme >= 0 && theme < 4) {
        picture->SetImage(kThemeNormal + theme);
        picture->SetHighlightImage(kThemeHighlight + theme);
        picture->SetPressedImage(kThemePressed + theme);
        picture->Draw(false);
    }
    for (int cell = 0; cell < CPiecePalette::kCellCount; ++cell) {
        CControl* control = FindControl(kFirstCell + cell);
        if (!control)
            continue;
        if (m_palette->GetGroup() == 0 && cell == CPiecePalette::kArrowCell) {
            control->SetHelpId(kArrowHelp);
            continue;
        }
        const int piece = m_palette->GetItemId(cell);
        if (piece == -1)
            continue;
        int help = -1;
        if (IsCellLocked(cell))
            help = kLockedHelp;
        else if (!assets || !assets->GetInt(piece, kPieceHelpField, help))
            help = -1;
        control->SetHelpId(help);
    }
}

void CConstSlideOut::SetToolState(int state) {
    if (m_toolState == kToolAdd) {
        m_currentPiece = -1;
        if (m_world)
            m_world->SetCurrentPiece(-1, false);
        Refresh();
    }
    m_toolState = state;
    if (state == kToolAdd)
        PostScreenMessage(kMsgAddMode);
    else if (state == kToolErase)
        PostScreenMessage(kMsgEraseMode);
}

void CConstSlideOut::SelectPiece(int assetId) {
    if (assetId == -1) {
        SetToolState(kToolNone);
        return;
    }
    m_currentPiece = assetId;
    Refresh();
}

void CConstSlideOut::UncheckEraseToggle() {
    if (CToggleButton* toggle = Toggle(kEraseToggle))
        toggle->SetChecked(false);
}

void CConstSlideOut::SetTrackNameText(const std::string& name) {
    if (auto* box = dynamic_cast<CTextBoxControl*>(FindControl(kNameBox))) {
        box->SetText(name);
        box->Draw(true);
    }
}

void CConstSlideOut::SetHighlightedCell(int cell) {
    if (cell < -1 || cell >= CPiecePalette::kCellCount)
        cell = -1;
    if (cell != m_highlightedCell) {
        if (CPushButton* old = Button(kFirstCell + m_highlightedCell); old && m_highlightedCell != -1)
            old->Draw(false);
        m_highlightedCell = cell;
        if (CPushButton* now = Button(kFirstCell + cell); now && cell != -1)
            now->Draw(false);
        Refresh();
    }
    RefreshPointer();
}

void CConstSlideOut::HighlightCurrentPieceCell() {
    if (!m_world)
        return;
    for (int cell = 0; cell < CPiecePalette::kCellCount; ++cell)
        if (m_palette->GetItemId(cell) == m_world->GetCurrentPiece() && m_world->GetCurrentPiece() != -1) {
            SetHighlightedCell(cell);
            return;
        }
}

void CConstSlideOut::RefreshPointer() {
    const plat::gfx2d::Point pointer = Services().GetWindowMousePosition();
    MouseMove(pointer.x - GetX(), pointer.y - GetY());
}

int CConstSlideOut::FindPieceIcon(int assetId) const {
    CAssetMan* assets = Assets();
    if (!assets || assetId == -1)
        return -1;
    const int counts[] = {CAssetMan::GetPieceGroup0Count(), CAssetMan::GetPieceGroup1Count(),
                          CAssetMan::GetPieceGroup2Count()};
    for (int group : {1, 0, 2})
        for (int world = 0; world < CAssetMan::kThemeCount; ++world)
            for (int i = 0; i < counts[group]; ++i)
                if (assets->GetWorldListEntry(i, world, group) == assetId)
                    return assets->GetWorldListIconId(i, assets->GetWorld(), group);
    return -1;
}

void CConstSlideOut::MouseMove(int x, int y) {
    CSlideOut::MouseMove(x, y);
    if (!m_world || m_world->GetMode() != CWorldConstructMan::kModeAdd)
        return;
    int pointer = kPlainPointer;
    if ((m_highlightedCell != -1 || m_world->GetCurrentPiece() != -1) && x > kPanelLeft)
        pointer = FindPieceIcon(m_world->GetCurrentPiece());
    if (pointer != m_world->GetPointerId())
        m_world->SetPointerId(pointer);
}

void CConstSlideOut::OnEraseToggle(bool carried) {
    CToggleButton* toggle = Toggle(kEraseToggle);
    // The start piece in hand must be put down first: the eraser waits.
    if (carried) {
        if (toggle)
            toggle->SetChecked(false);
        return;
    }
    SetHighlightedCell(-1);
    if (toggle && toggle->IsChecked())
        SetToolState(kToolErase);
    else if (m_world)
        m_world->SetMode(CWorldConstructMan::kModePickup);
}

void CConstSlideOut::OnTestDrive(bool carried) {
    CToggleButton* toggle = Toggle(kEraseToggle);
    if (toggle && toggle->IsChecked()) {
        // The eraser is put away first; the test drive follows a few updates later.
        m_testDriveArmed = true;
        m_testDriveCountdown = kTestDriveDelay;
        return;
    }
    if (carried) {
        Services().PlayHelp(kStartCarriedHelp, 1);
        return;
    }
    if (!CWorldRaceMan::FindStartPiece())
        return;
    SetScreenState(GAMESTATE_RACE);
}

void CConstSlideOut::OnCell(int cell, bool carried, bool& pieceChoice) {
    const int kind = kFirstCell + cell == kArrowButton ? m_palette->GetArrowKind() : CPiecePalette::kNoArrow;
    if (kind == CPiecePalette::kArrowNext || kind == CPiecePalette::kArrowPrevious) {
        if (!carried)
            SetHighlightedCell(-1);
        m_palette->SetPage(m_palette->GetPage() + (kind == CPiecePalette::kArrowNext ? 1 : -1));
        Refresh();
        if (CPushButton* arrow = Button(kArrowButton))
            arrow->Draw(false);
        return;
    }
    pieceChoice = true;
    if (!carried) {
        if (cell != m_highlightedCell) {
            SetToolState(kToolAdd);
            m_currentPiece = m_palette->GetItemId(cell);
            if (m_world)
                m_world->SetCurrentPiece(m_currentPiece, true);
        }
        Refresh();
    } else {
        Refresh();
        if (CPushButton* previous = Button(kFirstCell + m_highlightedCell);
            previous && m_highlightedCell != -1)
            previous->Draw(false);
        if (CPushButton* pressed = Button(kFirstCell + cell))
            pressed->Draw(false);
    }
    m_pointerRefreshArmed = true;
    m_pointerCountdown = kPointerDelay;
}

void CConstSlideOut::PutBackStartPiece() {
    CAssetMan* assets = Assets();
    const CWorldConstructMan::SLiftedPiece& lifted = m_world->GetLiftedPiece();
    // Only the start piece in hand goes back: a record of any other piece is stale.
    if (assets && lifted.assetId != -1 && lifted.assetId == assets->GetStartPieceId() && lifted.x >= 0 &&
        lifted.z >= 0)
        PlaceTrackPiece(lifted.assetId, static_cast<std::uint32_t>(lifted.x),
                        static_cast<std::uint32_t>(lifted.z),
                        static_cast<std::uint32_t>(lifted.rotation & 3));
    m_world->SetMode(CWorldConstructMan::kModePickup);
}

void CConstSlideOut::Print() {
    if (!m_printer || !m_printer->IsPrintingAvailable())
        return;
    CEngineMan* engine = ScreenEngine();
    CAssetMan* assets = Assets();
    CDisplayDevice* device = engine ? engine->GetDisplayDevice() : nullptr;
    plat::gfx2d::Surface* back = device ? device->GetDeviceBackBuffer() : nullptr;
    plat::text::Font* font = assets ? assets->GetFont(kTitleFont) : nullptr;
    plat::gfx2d::SurfaceView view;
    if (!back || back->Lock(view) != plat::gfx2d::Result::Ok)
        return;
    if (font && m_world) {
        // The name may be of any length: the text is clipped to the title's rectangle.
        const std::string title = " " + m_world->GetTrackName() + " ";
        plat::text::TextStyle style;
        style.textColour = 0x000000;
        style.backgroundColour = 0xFFFFFF;
        style.background = plat::text::BackgroundMode::kOpaque;
        font->Draw(view, title, kTitleRect, plat::text::kFormatCenter, style);
    }
    back->Unlock();
    m_printer->PrintLandscape(back, kViewRect);
}

void CConstSlideOut::OnControl(int controlId) {
    const bool carried = m_world && m_world->IsCarryingStartPiece();
    if (controlId == kEraseToggle) {
        OnEraseToggle(carried);
        return;
    }
    bool pieceChoice = false;
    const int previousCell = m_highlightedCell;
    int cell = -1;
    switch (controlId) {
    case kLightingToggle:
        if (CEngineMan* engine = ScreenEngine()) {
            engine->SetupLighting(engine->GetLightingMode() == 0 ? 1 : 0, 0);
            Refresh();
        }
        if (m_world)
            m_world->RebuildRoute();
        break;
    case kNewTrackButton:
        SetScreenState(GAMESTATE_CONSTRUCT_NEW);
        break;
    case kTurnButton:
        PostScreenMessage(kMsgTurnCamera);
        break;
    case kPrintButton:
        Print();
        break;
    case kZoomButton:
        PostScreenMessage(kMsgZoomCamera);
        break;
    case kTestDriveButton:
        OnTestDrive(carried);
        break;
    case kFirstGroupButton:
    case kFirstGroupButton + 1:
    case kFirstGroupButton + 2:
        if (!carried)
            SetHighlightedCell(-1);
        m_palette->SetGroup(controlId - kFirstGroupButton);
        SetGroupImages(controlId - kFirstGroupButton);
        Refresh();
        break;
    case kMainScreenButton:
        if (carried && m_world)
            PutBackStartPiece();
        SetScreenState(GAMESTATE_MAIN);
        break;
    default:
        if (controlId >= kFirstCell && controlId <= kArrowButton) {
            cell = controlId - kFirstCell;
            // An empty cell offers nothing.
            if (kFirstCell + cell != kArrowButton || m_palette->GetArrowKind() == CPiecePalette::kNoArrow)
                if (m_palette->GetIconId(cell) == -1)
                    return;
            OnCell(cell, carried, pieceChoice);
        }
        break;
    }

    if (CToggleButton* toggle = Toggle(kEraseToggle); toggle && toggle->IsChecked()) {
        if (!m_pointerRefreshArmed)
            SetToolState(kToolAdd);
        toggle->SetChecked(false);
    }
    if (carried || !m_world)
        return;
    if (pieceChoice) {
        const int mode = m_world->GetMode();
        if (mode == CWorldConstructMan::kModeAdd || mode == CWorldConstructMan::kModeErase) {
            if (cell == previousCell) {
                m_world->SetMode(CWorldConstructMan::kModePickup);
                m_world->SetCurrentPiece(-1, false);
                SetHighlightedCell(-1);
            } else {
                SetHighlightedCell(cell);
            }
        } else if (mode == CWorldConstructMan::kModePickup) {
            SetHighlightedCell(cell);
        }
        return;
    }
    SetHighlightedCell(-1);
    m_world->SetMode(CWorldConstructMan::kModePickup);
    m_world->SetCurrentPiece(-1, false);
}

void CConstSlideOut::DrawHighlightFrame() {
    CCompoundOverlay* overlay = GetOverlay();
    CControl* button = FindControl(kFirstCell + m_highlightedCell);
    if (!overlay || !button || !m_highlightFrame || m_highlightedCell == -1)
        return;
    overlay->BlitFrom(button->GetX(), button->GetY(), m_highlightFrame->GetSurface(), true, nullptr);
}

void CConstSlideOut::Update(int ms) {
    if (m_testDriveArmed && --m_testDriveCountdown <= 0) {
        m_testDriveArmed = false;
        OnControl(kTestDriveButton);
    }
    if (m_pointerRefreshArmed && --m_pointerCountdown <= 0) {
        RefreshPointer();
        m_pointerRefreshArmed = false;
    }
    switch (GetState()) {
    case kShown:
        if (!m_controlsActive) {
            ActivateControls();
            m_controlsActive = true;
            Refresh();
            if (!m_printer || !m_printer->IsPrintingAvailable())
                if (CPushButton* print = Button(kPrintButton)) {
                    print->SetImage(kNoPrinterImage);
                    print->SetDisabledImage(kNoPrinterImage);
                    print->SetHighlightImage(kNoPrinterImage);
                    print->SetPressedImage(kNoPrinterImage);
                    print->SetHelpId(kNoPrinterHelp);
                    print->Draw(false);
                }
        }
        if (m_meter) {
            if (CWorldGrid* grid = CWorldMan::GetWorldGrid())
                m_meter->TakeLength(grid->GetTrackLength());
            if (CCompoundOverlay* overlay = GetOverlay())
                m_meter->Draw(*overlay);
        }
        break;
    case kHiddenState:
        if (m_controlsActive) {
            DeactivateControls();
            m_controlsActive = false;
        }
        break;
    case kSlidingIn: {
        CGameStateMan* states = ScreenStates();
        SetHelpId(states && states->GetPreviousState() == GAMESTATE_MAIN ? kFromMainScreenHelp : -1);
        break;
    }
    default:
        break;
    }
    CSlideOut::Update(ms);
    if (m_highlightedCell != -1)
        DrawHighlightFrame();
}

} // namespace zentrix
