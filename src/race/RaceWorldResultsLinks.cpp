#include "race/RaceWorldResultsLinks.h"

#include "app/App.h"
#include "app/ScreenSupport.h"
#include "audio/GameSoundController.h"
#include "foundation/assets/AssetMan.h"
#include "race/Driver.h"
#include "race/RaceSlideOut.h"
#include "race/RacerCar.h"
#include "race/WorldRaceMan.h"
#include "ui/SlideOutMan.h"
#include "world/CarObject.h"

namespace zentrix {

namespace {

CRaceSlideOut* RacePanel() {
    CSlideOutMan* panels = g_pApp ? g_pApp->GetSlideOutMan() : nullptr;
    return panels ? dynamic_cast<CRaceSlideOut*>(panels->FindSlideOut(CSlideOutMan::kRace)) : nullptr;
}

CGameSoundController* Sound() {
    return g_pApp ? g_pApp->GetGameSoundController() : nullptr;
}

const CCarObject* CarOf(IRacerCar* car) {
    return car ? dynamic_cast<const CCarObject*>(car->GetWorldObject()) : nullptr;
}

int DriverIndexOf(IRacerCar* car) {
    const CCarObject* object = CarOf(car);
    const CDriver* driver = object ? object->GetDriver() : nullptr;
    return driver ? driver->GetDriverIndex() : -1;
}

} // namespace

const IRaceRoute* CRaceWorldResultsLinks::GetRoute() const {
    CRouteNodeMan* route = g_pApp ? g_pApp->GetRouteNodeMan() : nullptr;
    if (!route)
        return nullptr;
    if (!m_route)
        m_route = std::make_unique<CRouteNodeManRoute>(*route);
    return m_route.get();
}

CDriver* CRaceWorldResultsLinks::GetSlotDriver(int slot) const {
    const auto* car = dynamic_cast<const CCarObject*>(CWorldMan::GetCar(slot));
    return car ? car->GetDriver() : nullptr;
}

bool CRaceWorldResultsLinks::LoadText(int textId, std::string& text) {
    CAssetMan* assets = g_pApp ? g_pApp->GetAssetMan() : nullptr;
    return assets && assets->LoadAssetIntoString(textId, text);
}

int CRaceWorldResultsLinks::GetRaceState() const {
    return m_race.GetState();
}

void CRaceWorldResultsLinks::StopUiSound() {
    if (CGameSoundController* sound = Sound())
        sound->StopUiSound();
}

void CRaceWorldResultsLinks::PlayUiSound(int soundId) {
    PlayScreenSound(soundId);
}

void CRaceWorldResultsLinks::SuspendUiSounds(int ms) {
    if (CGameSoundController* sound = Sound())
        sound->SuspendUiSounds(ms);
}

void CRaceWorldResultsLinks::ClearPlates() {
    if (CRaceSlideOut* panel = RacePanel())
        panel->ClearEntries();
}

void CRaceWorldResultsLinks::AddPlate(int slot, int laps, IRacerCar* car) {
    if (CRaceSlideOut* panel = RacePanel())
        panel->AddEntry(slot, laps, DriverIndexOf(car));
}

void CRaceWorldResultsLinks::SetPlate(int slot, int position, int laps, IRacerCar* car) {
    const CCarObject* object = CarOf(car);
    if (CRaceSlideOut* panel = RacePanel())
        panel->SetEntry(slot, position, laps, object ? object->GetPickupType() : -1);
}

void CRaceWorldResultsLinks::OnRaceOver() {
    m_race.OnRaceFinished();
}

} // namespace zentrix
