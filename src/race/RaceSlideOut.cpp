#include "race/RaceSlideOut.h"

#include "app/ScreenSupport.h"
#include "race/RaceResultsMan.h"
#include "race/RaceText.h"
#include "race/RaceTrafficLight.h"
#include "race/WorldRaceMan.h"
#include "render/CompoundOverlay.h"
#include "render/Overlay.h"
#include "ui/PanelServices.h"

namespace zentrix {

namespace {

constexpr plat::gfx2d::Rect kTestDriveRect{340, 400, 640, 454};
// Face pictures by driver index, as offsets from the plate's picture.
constexpr int kFaceOffsets[13] = {7, 2, 10, 6, 12, 1, 5, 4, 8, 11, 13, 3, 9};
constexpr int kPickupIconOffset = 14;
constexpr int kPositionMarkOffset = 22;
constexpr int kLapMarkOffset = 26;

void Blit(COverlay& target, const std::unique_ptr<COverlay>& picture, int x, int y) {
    if (picture && picture->GetSurface())
        target.BlitFrom(x, y, picture->GetSurface(), true, nullptr);
}

} // namespace

int CRaceSlideOut::CPlayerEntry::LapMark(int totalLaps, int laps) {
    if (totalLaps == 3 && laps >= 0 && laps <= 3)
        return laps == 3 ? 3 : laps + 1;
    if (totalLaps == 4 && laps >= 0 && laps <= 4)
        return laps == 4 ? 8 : laps + 5;
    return -1;
}

int CRaceSlideOut::CPlayerEntry::PickupIcon(int pickupType) {
    switch (pickupType) {
    case 0:
        return 0;
    case 1:
        return 5;
    case 2:
        return 1;
    case 3:
        return 2;
    case 4:
        return 3;
    case 6:
        return 4;
    case 9:
        return 6;
    case 10:
        return 7;
    default:
        return -1;
    }
}

int CRaceSlideOut::CPlayerEntry::FacePicture(int driverIndex) {
    return driverIndex >= 0 && driverIndex < 13 ? kPlatePicture + kFaceOffsets[driverIndex] : -1;
}

void CRaceSlideOut::CPlayerEntry::Init(int slot, int laps, int driverIndex) {
    x = slot * kPlateWidth;
    y = 0;
    totalLaps = laps;
    position = slot;
    this->laps = 0;
    pickupType = -1;
    m_plate = LoadRacePicture(kPlatePicture);
    m_face = FacePicture(driverIndex) == -1 ? nullptr : LoadRacePicture(FacePicture(driverIndex));
    for (std::size_t i = 0; i < m_pickupIcons.size(); ++i)
        m_pickupIcons[i] = LoadRacePicture(kPlatePicture + kPickupIconOffset + static_cast<int>(i));
    for (std::size_t i = 0; i < m_positionMarks.size(); ++i)
        m_positionMarks[i] = LoadRacePicture(kPlatePicture + kPositionMarkOffset + static_cast<int>(i));
    for (std::size_t i = 0; i < m_lapMarks.size(); ++i)
        m_lapMarks[i] = LoadRacePicture(kPlatePicture + kLapMarkOffset + static_cast<int>(i));
}

void CRaceSlideOut::CPlayerEntry::Clear() {
    *this = CPlayerEntry();
}

bool CRaceSlideOut::CPlayerEntry::Set(int newPosition, int newLaps, int newPickupType) {
    if (newPosition == position && newLaps == laps && newPickupType == pickupType)
        return false;
    position = newPosition;
    laps = newLaps;
    pickupType = newPickupType;
    return true;
}

void CRaceSlideOut::CPlayerEntry::Draw(COverlay& target, bool marks) const {
    Blit(target, m_plate, x, y);
    Blit(target, m_face, x + 15, y + 10);
    if (const int icon = PickupIcon(pickupType); icon != -1)
        Blit(target, m_pickupIcons[static_cast<std::size_t>(icon)], x + 110, y + 30);
    if (!marks)
        return;
    if (position >= 1 && position <= 4)
        Blit(target, m_positionMarks[static_cast<std::size_t>(position - 1)], x + 70, y + 10);
    if (const int mark = LapMark(totalLaps, laps); mark != -1)
        Blit(target, m_lapMarks[static_cast<std::size_t>(mark)], x + 110, y + 10);
}

CRaceSlideOut::CRaceSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
    : CSlideOut(resourceId, manager, usesHelpPanel), m_emptyPlate(LoadRacePicture(kEmptyPlatePicture)) {}

CRaceSlideOut::~CRaceSlideOut() = default;

bool CRaceSlideOut::IsTestDrive() const {
    return ScreenGameMode() == CWorldRaceMan::kTestDriveMode;
}

void CRaceSlideOut::AttachWorld() {
    m_raceWorld = CWorldRaceMan::GetInstance();
}

bool CRaceSlideOut::Activate(bool immediate) {
    if (IsActive())
        return true;
    CSlideOut::Activate(immediate);
    ActivateControls();
    DrawControls(true);
    if (IsTestDrive()) {
        m_raceText = std::make_unique<CRaceText>();
        m_raceText->Init(kTestDriveText, kTestDriveRect, 0, nullptr);
        m_raceText->Draw();
    }
    if (GetOpenSoundId() != 0)
        Services().PlayUiSound(GetOpenSoundId());
    m_dirty = true;
    for (int slot = 0; slot < m_entryCount; ++slot) {
        m_entries[slot].dirty = true;
        m_entries[slot].shown = true;
    }
    return true;
}

void CRaceSlideOut::Deactivate(bool immediate) {
    if (m_raceText)
        m_raceText->Hide();
    CSlideOut::Deactivate(immediate);
}

void CRaceSlideOut::CreateOverlay() {
    CSlideOut::CreateOverlay();
    m_dirty = true;
    // The taunt monitor draws into this picture: it follows the new one.
    if (CWorldRaceMan* race = m_raceWorld ? m_raceWorld : CWorldRaceMan::GetInstance())
        race->ResetTauntPanel();
}

void CRaceSlideOut::ReleaseOverlay() {
    CSlideOut::ReleaseOverlay();
    m_raceText.reset();
}

void CRaceSlideOut::StartRace() {
    if (!IsTestDrive()) {
        m_trafficLight.reset();
        m_trafficLight = std::make_unique<CRaceTrafficLight>();
    }
    if (m_raceText) {
        m_raceText->SetText(-1);
        m_raceText->Hide();
    }
}

void CRaceSlideOut::StartLights() {
    if (m_trafficLight)
        m_trafficLight->Start();
}

void CRaceSlideOut::RemoveLightAndBoard() {
    m_trafficLight.reset();
    m_statsBoard.reset();
}

void CRaceSlideOut::ClearEntries() {
    for (CPlayerEntry& entry : m_entries)
        entry.Clear();
    m_entryCount = 0;
}

void CRaceSlideOut::AddEntry(int slot, int totalLaps, int driverIndex) {
    // The count names the plates drawn from the first on: it may never pass the plates there are.
    if (slot < 0 || slot >= kPlateCount || m_entryCount >= kPlateCount)
        return;
    m_dirty = true;
    CPlayerEntry& entry = m_entries[slot];
    entry.Init(slot, totalLaps, driverIndex);
    entry.shown = true;
    entry.dirty = true;
    ++m_entryCount;
}

void CRaceSlideOut::SetEntry(int slot, int position, int laps, int pickupType) {
    if (slot < 0 || slot >= kPlateCount)
        return;
    if (m_entries[slot].Set(position, laps, pickupType)) {
        m_entries[slot].dirty = true;
        m_dirty = true;
    }
}

void CRaceSlideOut::ShowStatsBoard(const std::vector<CRaceStatsBoard::SRecord>& records) {
    if (!m_statsBoard)
        m_statsBoard = std::make_unique<CRaceStatsBoard>(records);
}

void CRaceSlideOut::DrawPlates() {
    CCompoundOverlay* overlay = GetOverlay();
    if (!overlay)
        return;
    if (m_dirty && m_entryCount != 0) {
        m_dirty = false;
        for (int slot = 0; slot < m_entryCount; ++slot) {
            CPlayerEntry& entry = m_entries[slot];
            if (!entry.shown || !entry.dirty)
                continue;
            entry.Draw(*overlay, !IsTestDrive());
            entry.dirty = false;
        }
    }
    for (int slot = m_entryCount; slot < kPlateCount; ++slot)
        Blit(*overlay, m_emptyPlate, slot * kPlateWidth, 0);
}

void CRaceSlideOut::Update(int ms) {
    CSlideOut::Update(ms);
    if (!IsActive())
        return;
    if (m_dirty)
        DrawPlates();
    CRaceResultsMan* results = m_raceWorld ? m_raceWorld->GetResults() : nullptr;
    if (!IsTestDrive() && results && results->IsResultBoardDue() && !m_statsBoard) {
        std::vector<CRaceStatsBoard::SRecord> records;
        for (const CRaceResultsMan::SResultRow& row : results->GetResultList())
            records.push_back({row.nameTextId - CRaceStatsBoard::kFirstNameText, row.human, row.position});
        ShowStatsBoard(records);
    }
    if (m_raceWorld && !m_raceWorld->IsRaceActive() && (!m_trafficLight || m_trafficLight->IsGreen()))
        m_raceWorld->StartRacing();
    if (m_raceText) {
        if (GetState() == kShown)
            m_raceText->Draw();
        else
            m_raceText->Hide();
    }
    const bool paused = m_raceWorld && m_raceWorld->IsPaused();
    if (m_trafficLight && !paused)
        m_trafficLight->Advance(ms);
    if (m_statsBoard) {
        if (!paused)
            m_statsBoard->Advance(ms);
        m_statsBoard->DrawLines();
    }
}

} // namespace zentrix
