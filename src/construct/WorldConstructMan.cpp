#include "construct/WorldConstructMan.h"

#include "construct/AddItemMode.h"
#include "construct/AppConstructServices.h"
#include "construct/ConstCamHelper.h"
#include "construct/ConstructCamera.h"
#include "construct/ConstructPanel.h"
#include "construct/ConstructRoute.h"
#include "construct/EraserMode.h"
#include "construct/PickupMode.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/assets/FileSaver.h"
#include "foundation/base/EventMan.h"
#include "platform/fs/FileSystem.h"
#include "render/EngineMan.h"
#include "render/ShadowMan.h"
#include "ui/SlideOut.h"
#include "world/TrackEdit.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"

#include <cerrno>
#include <cstring>

namespace zentrix {

namespace {

constexpr int kNewTrackSound = 49909;
/// Where a new track's start piece lies on the large and the small grid, and how it is turned.
constexpr std::uint32_t kLargeStartCell = 8;
constexpr std::uint32_t kSmallStartCell = 4;
constexpr std::uint32_t kStartRotation = 1;
/// The largest pointer position.
constexpr float kMaxMouseX = 620.0f;
constexpr float kMaxMouseY = 460.0f;
/// The panel's slide state while it is fully shown.
constexpr int kPanelShown = 0;

} // namespace

CWorldConstructMan::CWorldConstructMan() : CWorldConstructMan(std::make_unique<CAppConstructServices>()) {}

CWorldConstructMan::CWorldConstructMan(std::unique_ptr<IConstructServices> services)
    : m_services(std::move(services)) {
    // The editor's own camera moves the engine's camera controller whenever one exists.
    IConstructServices* source = m_services.get();
    m_camera = std::make_unique<CConstCamHelper>([source]() -> CCameraController* {
        CEngineMan* engine = source->GetEngineMan();
        return engine ? engine->GetCameraController() : nullptr;
    });
}

CWorldConstructMan::~CWorldConstructMan() {
    Deactivate();
    Destroy();
}

int CWorldConstructMan::Create() {
    const int result = CWorldMan::Create();
    if (!InitSharedWorld())
        return 1;
    m_currentPiece = -1;
    m_eraserMode = std::make_unique<CEraserMode>(*this);
    m_addMode = std::make_unique<CAddItemMode>(*this);
    m_pickupMode = std::make_unique<CPickupMode>(*this);
    m_created = true;
    return result;
}

int CWorldConstructMan::Destroy() {
    if (!m_created)
        return 0;
    FreeSharedWorld();
    m_created = false;
    m_eraserMode.reset();
    m_addMode.reset();
    m_pickupMode.reset();
    return CWorldMan::Destroy();
}

void CWorldConstructMan::SetTheme(int theme) {
    CWorldMan::SetTheme(theme);
    m_services->StopAmbience();
    m_services->StartAmbience();
}

void CWorldConstructMan::Tick(unsigned ms) {
    CWorldMan::Tick(ms);
    UpdateObjects(ms);
    SimulateActiveObjects(ms);
    FinishActiveObjects(ms);
    if (CShadowMan* shadows = CShadowMan::GetInstance())
        shadows->UpdateShadows();
}

void CWorldConstructMan::DropClicks() {
    if (CEventMan* events = m_services->GetEventMan())
        while (events->GetLatest(kMsgClick, nullptr)) {
        }
}

std::string CWorldConstructMan::AutoSavePath() const {
    CAssetMan* assets = m_services->GetAssetMan();
    CFileSaver* files = assets ? assets->GetFileSaver() : nullptr;
    return files ? files->GetFullPath(kAutoSaveSlot, kAutoSaveName) : std::string();
}

void CWorldConstructMan::LoadAutoSave() {
    m_keepAutoSave = false;
    if (LoadTrack(kAutoSaveName, kAutoSaveSlot))
        return;
    KeepRefusedAutoSave();
    ClearTrack(true);
}

void CWorldConstructMan::KeepRefusedAutoSave() {
    // A missing auto-save is no error. One that is there but was not taken would be written over by the
    // empty track when the editor is left, so it is moved aside whole first.
    const std::string path = AutoSavePath();
    if (path.empty() || !plat::fs::Exists(path))
        return;
    const std::string shown = plat::fs::Resolve(path).native;
    const plat::fs::MovedAside aside = plat::fs::MoveAside(path, kRefusedSuffix);
    if (aside.error == plat::fs::Error::kNone) {
        m_services->ReportFileError(shown + " was not taken as a track; it is kept as " + aside.native +
                                        ", and the editor starts with an empty track",
                                    0);
        return;
    }
    if (aside.error == plat::fs::Error::kNotFound)
        return;
    // It stays where it is, and this visit's track is not written over it.
    m_keepAutoSave = true;
    m_services->ReportFileError(shown + " was not taken as a track and cannot be moved aside (" + aside.why +
                                    "); it is left as it is, and this visit's track is not saved",
                                0);
}

void CWorldConstructMan::SaveAutoSave() {
    if (m_keepAutoSave)
        return;
    errno = 0;
    if (SaveTrack(kAutoSaveName, kAutoSaveSlot))
        return;
    const int error = errno;
    const std::string path = AutoSavePath();
    const std::string shown = path.empty() ? std::string(kAutoSaveName) : plat::fs::Resolve(path).native;
    m_services->ReportFileError(
        "the track was not saved: " + shown + " cannot be written (" +
            (error != 0 ? std::strerror(error) : "no place to save it") +
            "); the test drive and the next visit find the track as it was last saved",
        error);
}

void CWorldConstructMan::ResumeAutoSave() {
    DropClicks();
    LoadAutoSave();
}

void CWorldConstructMan::Activate() {
    CWorldMan::Activate();
    m_services->StartAmbience();
    if (CEngineMan* engine = m_services->GetEngineMan())
        engine->SetBackgroundImage(-1);
    DropClicks();
    LoadAutoSave();
    SetMode(kModePickup);
    if (m_camera)
        m_camera->Reset();
    SetCurrentPiece(-1, false);
    RestoreTrackName();
    RebuildRoute();
}

void CWorldConstructMan::Deactivate() {
    if (GetCurrentWorldId() != kConstruct || !m_created)
        return;
    m_services->StopAmbience();
    // A start piece in hand goes back where it was lifted, so the kept track still has one; a record of
    // another piece is stale and puts nothing down.
    CAssetMan* assets = m_services->GetAssetMan();
    if (IsCarryingStartPiece() && assets && m_liftedPiece.assetId == assets->GetStartPieceId() &&
        m_liftedPiece.assetId != -1 && m_liftedPiece.x >= 0 && m_liftedPiece.z >= 0) {
        PlaceTrackPiece(m_liftedPiece.assetId, static_cast<std::uint32_t>(m_liftedPiece.x),
                        static_cast<std::uint32_t>(m_liftedPiece.z),
                        static_cast<std::uint32_t>(m_liftedPiece.rotation & 3));
        SetMode(kModePickup);
    }
    SetMode(kModeLeaving);
    // A preview made while another mode was on leaves with the world.
    m_addMode->SetPreviewPiece(-1, false);
    SaveAutoSave();
    CWorldMan::Deactivate();
    if (m_camera)
        m_camera->Stop();
}

void CWorldConstructMan::PreFrame() {
    CWorldMan::PreFrame();
    CEventMan* events = m_services->GetEventMan();
    if (!events)
        return;
    if (events->FindMessage(kMsgTurnCamera, nullptr, true) && m_camera)
        m_camera->NextView();
    if (events->FindMessage(kMsgZoomCamera, nullptr, true) && m_camera)
        m_camera->ToggleZoom();
    if (events->FindMessage(kMsgAddMode, nullptr, true))
        SetMode(kModeAdd);
    if (events->FindMessage(kMsgEraseMode, nullptr, true))
        SetMode(kModeErase);
    if (events->FindMessage(kMsgNewTrack, nullptr, true))
        NewTrack();
}

void CWorldConstructMan::NewTrack() {
    m_services->PlayUiSound(kNewTrackSound);
    SetMode(kModePickup);
    ClearTrack(false);
    CAssetMan* assets = m_services->GetAssetMan();
    const int start = assets ? assets->GetStartPieceId() : -1;
    const std::uint32_t cell = GetGridSizeIndex() == 1 ? kLargeStartCell : kSmallStartCell;
    PlaceTrackPiece(start, cell, cell, kStartRotation);
    UpdateWorldLighting();
}

void CWorldConstructMan::Frame(unsigned ms) {
    CWorldMan::Frame(ms);
    if (GetCurrentWorldId() != kConstruct)
        return;
    CSlideOut* panel = m_services->FindPanel(kPanel);
    if (!panel || panel->GetState() != kPanelShown)
        return;
    HandleButtonRelease();
    UpdateMouseCamera(ms);
    Tick(ms);
    MarkRouteError();
}

void CWorldConstructMan::HandleButtonRelease() {
    if (m_services->GetFrontPanel() != kPanel)
        return;
    CEventMan* events = m_services->GetEventMan();
    CMessage click;
    if (!events || !events->GetLatest(kMsgClick, &click))
        return;
    const int x = static_cast<int>(click.GetParam(0));
    const int y = static_cast<int>(click.GetParam(1));
    const int button = static_cast<int>(click.GetParam(2));
    CSlideOut* panel = m_services->FindPanel(kPanel);
    // The panel's picture is looked at where the panel lies on the screen.
    if (!panel || !panel->IsTransparentAt(x - panel->GetX(), y - panel->GetY()))
        return;
    CCursorMode* mode = GetCurrentModeObject();
    if (!mode)
        return;
    if (button == 0)
        mode->Act();
    else if (button == 2)
        mode->AltAct();
}

void CWorldConstructMan::UpdateMouseCamera(unsigned ms) {
    const float x = static_cast<float>(m_services->GetMouseX());
    const float y = static_cast<float>(m_services->GetMouseY());
    if (m_camera)
        m_camera->Scroll(static_cast<int>(ms), x / kMaxMouseX, y / kMaxMouseY, true);
    if (CCursorMode* mode = GetCurrentModeObject())
        mode->TrackCursor(ms);
}

bool CWorldConstructMan::IsTargetedByMode(const CWorldObject* object) const {
    if (m_mode == kModeErase)
        return m_eraserMode->GetTargetObject() == object;
    if (m_mode == kModePickup)
        return m_pickupMode->GetTargetObject() == object;
    return false;
}

void CWorldConstructMan::MarkRouteError() {
    IConstructRoute* route = GetRoute();
    CWorldObject* piece = route ? route->GetErrorPiece() : nullptr;
    if (!piece)
        return;
    auto* trackPiece = dynamic_cast<CTrackObject*>(piece);
    int pieceClass = CTrackObject::kClassNone;
    std::int16_t index = -1;
    if (!trackPiece || !trackPiece->GetPieceClass(pieceClass, index)) {
        piece->SetHighlight(3);
        return;
    }
    if (IsTargetedByMode(piece)) {
        // Off and on again: the steady look starts over.
        piece->SetHighlight(3);
        piece->SetHighlight(0);
        return;
    }
    const int status = route->GetStatus();
    if (status == 2 || status == 3)
        piece->SetHighlight(1);
    else if (status >= 4 && status <= 12)
        piece->SetHighlight(2);
}

void CWorldConstructMan::SetMode(int mode) {
    if (GetCurrentWorld() != this || !m_created)
        return;
    IConstructPanel* panel = GetPanel();
    m_mode = mode;
    switch (mode) {
    case kModeAdd:
        m_eraserMode->Deactivate();
        m_pickupMode->Deactivate();
        m_addMode->Activate();
        m_addMode->SetPreviewPiece(m_currentPiece, false);
        break;
    case kModeErase:
        if (panel)
            panel->SelectPiece(-1);
        m_eraserMode->Activate();
        m_pickupMode->Deactivate();
        m_addMode->Deactivate();
        break;
    case kModeNone:
    case kModePanel:
    case kModeLeaving:
        if (panel)
            panel->SelectPiece(-1);
        m_eraserMode->Deactivate();
        m_pickupMode->Deactivate();
        m_addMode->Deactivate();
        break;
    case kModePickup:
        if (panel)
            panel->SelectPiece(-1);
        m_eraserMode->Deactivate();
        m_pickupMode->Activate();
        m_addMode->Deactivate();
        break;
    default:
        break;
    }
}

CWorldConstructMan::CCursorMode* CWorldConstructMan::GetCurrentModeObject() const {
    switch (m_mode) {
    case kModeAdd:
        return m_addMode.get();
    case kModeErase:
        return m_eraserMode.get();
    case kModePickup:
        return m_pickupMode.get();
    default:
        return nullptr;
    }
}

void CWorldConstructMan::SetCurrentPiece(int assetId, bool hidden) {
    m_currentPiece = assetId;
    if (m_addMode)
        m_addMode->SetPreviewPiece(assetId, hidden);
}

void CWorldConstructMan::SetTrackName(const std::string& name) {
    m_trackName = name;
    if (IConstructPanel* panel = GetPanel())
        panel->SetTrackNameText(name);
    m_services->SetSetting(kTrackNameSetting, name);
}

void CWorldConstructMan::RestoreTrackName() {
    std::string name;
    if (m_services->GetSetting(kTrackNameSetting, name) && !name.empty())
        SetTrackName(name);
    else
        SetDefaultTrackName();
}

void CWorldConstructMan::SetDefaultTrackName() {
    std::string name;
    if (CAssetMan* assets = m_services->GetAssetMan())
        assets->LoadAssetIntoString(kDefaultNameText, name);
    SetTrackName(name);
}

bool CWorldConstructMan::IsCarryingStartPiece() const {
    return m_mode == kModeAdd && m_addMode && m_addMode->HoldsStartPiece();
}

bool CWorldConstructMan::IsTrackTooLong() {
    IConstructPanel* panel = GetPanel();
    return panel && panel->IsTrackTooLong();
}

bool CWorldConstructMan::IsStartPieceAt(int x, int z) const {
    CWorldGrid* grid = GetWorldGrid();
    if (!grid || x < 0 || z < 0)
        return false;
    const CTrackObject* piece =
        grid->GetPieceAt(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(z));
    int pieceClass = CTrackObject::kClassNone;
    std::int16_t index = -1;
    return piece && piece->GetPieceClass(pieceClass, index) && pieceClass == CTrackObject::kClassMain &&
           index == 0;
}

void CWorldConstructMan::ClearAllHighlights() {
    CWorldGrid* grid = GetWorldGrid();
    if (!grid)
        return;
    for (std::uint32_t x = 0; x < grid->GetSizeX(); ++x)
        for (std::uint32_t z = 0; z < grid->GetSizeZ(); ++z) {
            CWorldObject* object = grid->GetPieceAt(x, z);
            if (!object)
                object = grid->GetCellObject(x, z);
            if (object)
                object->SetHighlight(3);
        }
}

int CWorldConstructMan::GetPointerId() const {
    const CCursorMode* mode = GetCurrentModeObject();
    return mode ? mode->GetPointerId() : 0;
}

void CWorldConstructMan::SetPointerId(int id) {
    if (m_addMode)
        m_addMode->SetPointerId(id);
}

void CWorldConstructMan::SetCamera(std::unique_ptr<IConstructCamera> camera) {
    m_camera = std::move(camera);
}

IConstructPanel* CWorldConstructMan::GetPanel() const {
    return dynamic_cast<IConstructPanel*>(m_services->FindPanel(kPanel));
}

IConstructRoute* CWorldConstructMan::GetRoute() const {
    return m_services->GetRoute();
}

void CWorldConstructMan::RebuildRoute() {
    if (IConstructRoute* route = GetRoute())
        route->Rebuild();
}

} // namespace zentrix
