#include "race/WorldRaceMan.h"

#include "app/App.h"
#include "app/GameStateMan.h"
#include "app/ScreenSupport.h"
#include "audio/GameSoundController.h"
#include "audio/MusicManager.h"
#include "engine/Frame.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/base/EventMan.h"
#include "foundation/base/GameStates.h"
#include "foundation/base/Message.h"
#include "foundation/math/Rotation.h"
#include "race/Driver.h"
#include "race/DriverManager.h"
#include "race/RaceCamMan.h"
#include "race/RacePanelLink.h"
#include "race/RaceResultsMan.h"
#include "race/RaceTauntCars.h"
#include "race/RaceWorldResultsLinks.h"
#include "race/RouteNodeMan.h"
#include "race/TauntEventQueue.h"
#include "race/TauntMonitor.h"
#include "render/CameraController.h"
#include "render/CompoundOverlay.h"
#include "render/EngineMan.h"
#include "render/ParticleSystem.h"
#include "render/ShadowMan.h"
#include "ui/SlideOut.h"
#include "ui/SlideOutMan.h"
#include "ui/VornMessageBox.h"
#include "world/CarObject.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"
#include "world/WorldServices.h"
#include "world/WorldTopography.h"

#include <algorithm>
#include <numbers>

namespace zentrix {

CWorldRaceMan* CWorldRaceMan::s_instance = nullptr;
bool CWorldRaceMan::s_countdownFinished = false;
int CWorldRaceMan::s_savedState = CWorldRaceMan::kNotRacing;

namespace {

constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyF1 = 112;
/// The surface records of the four themes.
constexpr int kSurfaceAssets[4] = {59080, 59081, 59082, 59083};
/// Cached sounds of the screens left behind.
constexpr int kScreenSoundOwners[] = {1, 6};

CAssetMan* Assets() {
    return g_pApp ? g_pApp->GetAssetMan() : nullptr;
}

CRouteNodeMan* Route() {
    return g_pApp ? g_pApp->GetRouteNodeMan() : nullptr;
}

CDriverManager* Drivers() {
    return g_pApp ? g_pApp->GetDriverManager() : nullptr;
}

CCarObject* CarInSlot(int slot) {
    return dynamic_cast<CCarObject*>(CWorldMan::GetCar(slot));
}

constexpr int kJamTruckCar = 60015;
/// The tyres computer racers take on each theme: jungle, ice, desert, city.
constexpr int kComputerTyres[4] = {0, 2, 0, 1};

CGameSoundController* Sound() {
    return g_pApp ? g_pApp->GetGameSoundController() : nullptr;
}

void PauseMusic(bool on) {
    if (CMusicManager* music = g_pApp ? g_pApp->GetMusicManager() : nullptr)
        music->Pause(on);
}

} // namespace

CWorldRaceMan::CWorldRaceMan() {
    s_instance = this;
}

CWorldRaceMan::~CWorldRaceMan() {
    CWorldRaceMan::Destroy();
    if (s_instance == this)
        s_instance = nullptr;
}

IRacePanelLink* CWorldRaceMan::RacePanel() const {
    IWorldServices* services = GetServices();
    return services ? dynamic_cast<IRacePanelLink*>(services->FindSlideOut(kRacePanel)) : nullptr;
}

int CWorldRaceMan::Create() {
    const int result = CWorldMan::Create();
    if (!InitSharedWorld())
        return 1;
    m_resultsLinks = std::make_unique<CRaceWorldResultsLinks>(*this);
    m_results = std::make_unique<CRaceResultsMan>(*m_resultsLinks);
    m_results->StartManager();
    if (CEngineMan* engine = ScreenEngine(); engine && engine->GetCameraController())
        m_cameras = std::make_unique<CRaceCamMan>(engine->GetCameraController());
    if (CGameStateMan* states = ScreenStates())
        if (CSlideOutMan* panels = g_pApp->GetSlideOutMan())
            m_raceAgainBox =
                std::make_unique<CVornMessageBox>(kRaceAgainText, kRaceAgainTitle, 2, *states, *panels);
    m_tauntCars = std::make_unique<CRaceTauntCars>();
    m_tauntMonitor = std::make_unique<CTauntMonitor>(m_makeTauntPlayer);
    m_tauntQueue = std::make_unique<CTauntEventQueue>(*m_tauntCars, *m_tauntMonitor);
    m_created = true;
    return result;
}

int CWorldRaceMan::Destroy() {
    if (!m_created)
        return 0;
    m_created = false;
    m_tauntQueue.reset();
    m_tauntMonitor.reset();
    m_tauntCars.reset();
    FreeSharedWorld();
    if (m_results)
        m_results->StopManager();
    m_results.reset();
    m_resultsLinks.reset();
    m_cameras.reset();
    m_state = kNotRacing;
    m_raceAgainBox.reset();
    return CWorldMan::Destroy();
}

IWorldTopographyLink* CWorldRaceMan::GetTopography() {
    return m_topography.get();
}

bool CWorldRaceMan::CanActivate() {
    return FindStartPiece() != nullptr && CWorldMan::CanActivate();
}

CTrackObject* CWorldRaceMan::FindStartPiece() {
    CAssetMan* assets = Assets();
    if (!assets)
        return nullptr;
    const int startId = assets->GetStartPieceId();
    for (const auto& object : GetObjectList())
        if (object && object->GetTypeId() == startId)
            if (auto* piece = dynamic_cast<CTrackObject*>(object.get()))
                return piece;
    return nullptr;
}

void CWorldRaceMan::StartRace(const CRaceSetup& setup, bool restart) {
    m_started = true;
    s_countdownFinished = false;
    CWorldMan::Activate();
    SetScreenBackground(-1);
    PostScreenMessage(VORNMSG_HIDE_POINTER);
    CAssetMan* assets = Assets();
    if (assets)
        for (int owner : kScreenSoundOwners)
            assets->FreeSoundsOwnedBy(owner);
    if (m_tauntsEnabled)
        AttachTaunts(restart ? kLapOfHonourPanel : kRacePanel);

    m_setup = setup;
    if (assets) {
        m_savedTheme = assets->GetWorld();
        if (setup.world != -1)
            assets->SetWorld(setup.world, false);
    }
    m_leaveRequest = kNoRequest;

    if (!LoadTrack(m_setup.trackFile, m_setup.trackDirectory))
        return;

    m_topography = std::make_unique<CWorldTopography>();
    // Faces whose texture carries flag 0 (water surfaces and the like) are seen but never driven on.
    m_topography->Build(GetWorldFrame(), [assets](const CTexture* texture) {
        return assets && assets->GetTextureFlag(texture, 0) != 0;
    });
    if (CShadowMan* shadows = CShadowMan::GetInstance())
        shadows->ResetSkidMarks();
    m_frameCount = 0;
    CRouteNodeMan* route = Route();
    if (route)
        route->BuildRoute();

    if (ScreenGameMode() != kTestDriveMode)
        SetOverviewCamera();
    if (m_cameras)
        m_cameras->CaptureStartView();

    if (ScreenGameMode() != kTestDriveMode)
        if (CWorldGrid* grid = GetWorldGrid())
            m_setup.laps = std::max(grid->GetSizeX(), grid->GetSizeZ()) >= 16 ? 3 : 4;

    // A lap of honour runs with the race already over; it needs a route to drive.
    if (restart && route && !route->IsRouteBroken())
        m_state = kRaceOver;

    if (CGameSoundController* sound = Sound())
        sound->BeginRace(m_setup.racerCount);
    PlaceCars(setup);
    m_countdown = kCountdownMs;
    StartResults();
    if (assets)
        assets->PreloadRaceAssets();
    if (m_state != kRaceOver)
        if (IRacePanelLink* panel = RacePanel())
            panel->StartRace();
}

void CWorldRaceMan::SetOverviewCamera() {
    CTrackObject* start = nullptr;
    // The last object of the start piece's kind, as the grid may still hold an older one being removed.
    if (CAssetMan* assets = Assets())
        for (const auto& object : GetObjectList())
            if (object && object->GetTypeId() == assets->GetStartPieceId())
                if (auto* piece = dynamic_cast<CTrackObject*>(object.get()))
                    start = piece;
    CEngineMan* engine = ScreenEngine();
    CCameraController* camera = engine ? engine->GetCameraController() : nullptr;
    if (!start || !camera)
        return;
    const CVector direction(0.445615f, -0.738966f, -0.49633f);
    const CVector up(0.488826f, 0.673669f, -0.554273f);
    camera->StopMove();
    camera->SetOrientation(direction, up);
    camera->SetPosition(start->Position() - direction * 575.0f);
}

CVector CWorldRaceMan::GridSlotPosition(int slot, const CVector& start, const CVector& facing,
                                        const CVector& side) {
    const int column = slot % 2;
    const int row = slot / 2;
    return start + side * static_cast<float>(10 * column - 5) + facing * static_cast<float>(10 - 14 * row);
}

void CWorldRaceMan::RankBySpeed(const float* topSpeeds, int count, int* ranks) {
    std::vector<bool> taken(static_cast<std::size_t>(std::max(count, 0)), false);
    for (int i = 0; i < count; ++i) {
        int rank = 0;
        for (int j = 0; j < count; ++j)
            if (j != i && topSpeeds[j] > topSpeeds[i])
                ++rank;
        while (rank < count && taken[static_cast<std::size_t>(rank)])
            ++rank;
        // Every car finds a free rank: at most `count` are taken and this one is not yet.
        rank = std::min(rank, count - 1);
        taken[static_cast<std::size_t>(rank)] = true;
        ranks[i] = rank;
    }
}

void CWorldRaceMan::PlaceCars(const CRaceSetup& passed) {
    m_carCount = 0;
    m_humanCount = 0;
    CTrackObject* start = FindStartPiece();
    CDriverManager* drivers = Drivers();
    if (!start || !drivers)
        return;
    CRaceSetup setup = passed;
    if (ScreenGameMode() == kTestDriveMode) {
        // The test drive races alone on a broken route, else against one computer driver.
        const bool broken = !Route() || Route()->IsRouteBroken();
        const int tyres[kMaxRacers] = {setup.tyre[0], setup.tyre[1], setup.tyre[2], setup.tyre[3]};
        ClearRaceSetup(setup);
        for (int i = 0; i < kMaxRacers; ++i)
            setup.tyre[i] = tyres[i];
        setup.racerCount = broken ? 1 : 2;
        setup.driver[0] = 10;
        setup.kind[0] = DRIVER_KIND_HUMAN;
        setup.car[0] = 60010;
        setup.skin[0] = -2;
        if (!broken) {
            setup.driver[1] = 6;
            setup.kind[1] = DRIVER_KIND_COMPUTER;
            setup.car[1] = 60000;
            setup.skin[1] = -2;
        }
        m_setup.racerCount = setup.racerCount;
    }
    static const char* const kNames[3] = {"Player ", "CPU Driver ", "JamTruck Driver "};
    CAssetMan* assets = Assets();
    const int theme = assets ? assets->GetWorld() : -1;
    const CVector startPosition = start->Position();
    CCarObject* cars[kMaxRacers] = {};
    int n = 0;
    for (int i = 0; i < kMaxRacers; ++i) {
        const int kind = setup.kind[i];
        if (kind < DRIVER_KIND_HUMAN || kind > DRIVER_KIND_JAM)
            continue;
        CDriver* driver = drivers->CreateDriver(n, setup.driver[i], kind);
        if (!driver)
            continue;
        driver->SetName(kNames[kind] + std::to_string(n + 1));
        driver->SetColour(0xff8080);
        CWorldObject* made =
            CreateWorldObject(setup.car[i], startPosition.x, startPosition.y, startPosition.z, -1);
        auto* car = dynamic_cast<CCarObject*>(made);
        if (!car) {
            // The car slots fill in order: a driver left without its car would put every later driver one
            // slot after its car. Neither keeps the slot; the next racer takes it.
            if (made)
                RemoveObject(made);
            drivers->DeleteDriver(n);
            continue;
        }
        car->AssignDriver(driver);
        car->InitLivery(setup.skin[i]);
        car->SetTyreType(setup.tyre[i]);
        if (kind == DRIVER_KIND_HUMAN)
            ++m_humanCount;
        else if (kind == DRIVER_KIND_COMPUTER && theme >= 0 && theme < 4)
            car->SetTyreType(kComputerTyres[theme]);
        cars[n] = car;
        ++n;
    }
    m_carCount = static_cast<std::uint32_t>(n);
    PlaceOnGrid(cars, n, *start);
}

void CWorldRaceMan::GridAxes(const CTrackObject& start, CVector& facing, CVector& side) {
    const CVector up(0.0f, 1.0f, 0.0f);
    RotateVectorAboutAxis(start.Direction(), facing, up, std::numbers::pi_v<float>);
    RotateVectorAboutAxis(facing, side, up, std::numbers::pi_v<float> / 2.0f);
    side.Normalise();
}

void CWorldRaceMan::PlaceOnGrid(CCarObject* const* cars, int count, const CTrackObject& start) {
    CVector facing;
    CVector side;
    GridAxes(start, facing, side);
    const CVector startPosition = start.Position();
    float speeds[kMaxRacers] = {};
    int ranks[kMaxRacers] = {};
    for (int i = 0; i < count; ++i)
        speeds[i] = cars[i] ? cars[i]->GetTopSpeed() : 0.0f;
    RankBySpeed(speeds, count, ranks);
    for (int i = 0; i < count; ++i) {
        CCarObject* car = cars[i];
        if (!car)
            continue;
        CVector position = startPosition;
        if (m_state != kRaceOver)
            position = GridSlotPosition(ranks[i], startPosition, facing, side);
        if (m_topography)
            position.y = m_topography->GetHeight(position.x, position.z);
        car->Redirect(facing);
        car->SetPositionVector(position);
        car->SetStartOffset(m_state == kRaceOver ? CVector() : position - startPosition);
        if (CDriver* driver = car->GetDriver())
            driver->SetStartPosition(ranks[i] + 1);
    }
}

void CWorldRaceMan::StartResults() {
    if (!m_results)
        return;
    CRaceResultsMan::SStart start;
    if (const CTrackObject* piece = FindStartPiece())
        start.startPosition = piece->Position();
    CRouteNodeMan* route = Route();
    start.routeBroken = !route || route->IsRouteBroken() ? 1 : 0;
    start.laps = m_setup.laps;
    start.racerCount = static_cast<int>(m_carCount);
    start.humanCount = m_humanCount;
    if (m_state == kRaceOver) {
        start.laps = -1;
        start.racerCount = 1;
        start.humanCount = 0;
        m_carCount = 1;
        m_humanCount = 0;
    }
    m_results->StartRace(start);
}

void CWorldRaceMan::Frame(unsigned ms) {
    CWorldMan::Frame(ms);
    if (m_cameras && !m_introCameraSet) {
        // The one-human camera blends in once the overview has been seen; the lap of honour circles at once.
        const bool testDrive = ScreenGameMode() == kTestDriveMode;
        if (!testDrive && m_state == kRaceOver) {
            m_cameras->SetCamera(CRaceCamMan::kLapOfHonour, false, 2300);
            m_introCameraSet = true;
        } else if (m_activeTime > (testDrive ? 20u : 2000u)) {
            m_cameras->SetCamera(CRaceCamMan::kChase, true, 2300);
            m_introCameraSet = true;
        }
    }
    FrameTaunts();
    m_frameCount += 1;
    m_activeTime += ms;

    if (m_countdown > 0) {
        m_countdown -= static_cast<int>(ms);
        if (m_countdown < 1) {
            if (m_state == kRaceOver)
                StartRacing();
            else
                s_countdownFinished = true;
        }
    }
    if (s_countdownFinished) {
        CEngineMan* engine = ScreenEngine();
        CCameraController* camera = engine ? engine->GetCameraController() : nullptr;
        if (!camera || !camera->IsMoving() || m_activeTime > 10000) {
            if (IRacePanelLink* panel = RacePanel())
                panel->StartLights();
            else
                // Without a panel to run the lights, the race starts when they would have.
                StartRacing();
            s_countdownFinished = false;
        }
    }

    if (m_state == kNotRacing || m_state == kRacing || m_state == kRaceOver) {
        Tick(ms);
        if (m_results)
            m_results->Update(static_cast<int>(ms));
    }

    ProcessLeaveRequest();

    if (m_state == kAskingAgain && m_raceAgainBox) {
        const int answer = m_raceAgainBox->GetResult();
        if (answer == 1) {
            m_state = kNotRacing;
            SetScreenState(GAMESTATE_RACE);
        } else if (answer == 2) {
            SetPaused(false);
            m_state = kRaceOver;
            LeaveRace();
        }
    }

    if (m_state == kRaceOver && m_activeTime > kLeaveDelayMs)
        if (CEventMan* events = ScreenEvents(); events && events->GetLatest(VORNMSG_MOUSE_BUTTON_UP, nullptr))
            LeaveRace();

    if (ScreenGameMode() == kTestDriveMode && m_state == kRacing) {
        m_testDriveTime += static_cast<int>(ms);
        if (m_testDriveTime > kTestDriveMs)
            LeaveRace();
    }

    HandleInput();
}

void CWorldRaceMan::ProcessLeaveRequest() {
    if (m_leaveRequest == kNoRequest)
        return;
    IWorldServices* services = GetServices();
    CSlideOut* panel = services ? services->FindSlideOut(kRacePanel) : nullptr;
    // Taken once the race panel is back on screen (the options panel has slid away).
    if (panel && panel->GetState() != 0)
        return;
    // Leaving reads the request to choose the next screen; it is forgotten afterwards.
    if (m_leaveRequest == kRestart)
        RestartRace();
    else
        LeaveRace();
    m_leaveRequest = kNoRequest;
}

void CWorldRaceMan::HandleInput() {
    CEventMan* events = ScreenEvents();
    CMessage key;
    if (!events || !events->GetLatest(VORNMSG_KEY_DOWN, &key))
        return;
    const int code = static_cast<int>(key.GetParam(0));
    if (m_state == kRaceOver) {
        if (m_activeTime > kLeaveDelayMs || code == kKeyEscape || code == kKeySpace)
            LeaveRace();
        return;
    }
    if (code == kKeyEscape || code == kKeySpace) {
        // Once the results board is due, the race is as good as over: no pause.
        if (!m_results || !m_results->IsResultBoardDue())
            RequestPause();
        return;
    }
    if ((code >= '1' && code <= '4') || code == kKeyF1)
        return;
    events->SetKeyMessage(code);
}

void CWorldRaceMan::RequestPause() {
    if (ScreenGameMode() == kTestDriveMode) {
        m_leaveRequest = kLeave;
        return;
    }
    if (m_state == kNotRacing || m_state == kRacing) {
        IWorldServices* services = GetServices();
        CSlideOut* options = services ? services->FindSlideOut(kRaceOptionsPanel) : nullptr;
        if (m_leaveRequest == kNoRequest && options && options->GetState() == 1) {
            SetPaused(true);
            SetScreenState(GAMESTATE_RACE_OPTIONS);
        }
    } else if (m_state == kRaceOver) {
        if (m_raceAgainBox)
            m_raceAgainBox->Show();
        m_state = kAskingAgain;
        PostScreenMessage(VORNMSG_SHOW_POINTER);
    }
}

void CWorldRaceMan::RequestQuit(int choice) {
    if (m_leaveRequest == kNoRequest)
        m_leaveRequest = choice;
}

void CWorldRaceMan::SetPaused(bool on) {
    if (CGameSoundController* sound = Sound())
        sound->Pause(on);
    if (on) {
        PauseMusic(true);
        s_savedState = m_state;
        m_state = kPaused;
    } else {
        if (s_savedState == kRacing && m_leaveRequest == kNoRequest)
            PauseMusic(false);
        m_state = s_savedState;
    }
}

void CWorldRaceMan::StartRacing() {
    if (m_state != kRaceOver && m_frameCount < 4)
        return;
    CGameStateMan* states = ScreenStates();
    if (states && states->GetState() == GAMESTATE_RACE_OPTIONS)
        return;
    CEngineMan* engine = ScreenEngine();
    if (engine && engine->GetCameraController() && engine->GetCameraController()->IsMoving())
        return;
    for (std::uint32_t slot = 0; slot < m_carCount; ++slot)
        if (CCarObject* car = CarInSlot(static_cast<int>(slot)))
            if (CDriver* driver = car->GetDriver())
                driver->Activate();
    if (m_state == kNotRacing)
        m_state = kRacing;
    PauseMusic(false);
    m_testDriveTime = 0;
}

void CWorldRaceMan::Tick(unsigned ms) {
    if (m_state == kPaused || m_state == kAskingAgain) {
        if (CShadowMan* shadows = CShadowMan::GetInstance())
            shadows->UpdateShadows();
        return;
    }
    UpdateObjects(ms);
    SimulateActiveObjects(ms);
    CollideObjects(ms);
    FinishActiveObjects(ms);
    if (m_cameras)
        m_cameras->Update(static_cast<int>(ms));
    if (CShadowMan* shadows = CShadowMan::GetInstance())
        shadows->UpdateShadows();
}

void CWorldRaceMan::OnRaceFinished() {
    if (m_state != kRaceOver)
        if (IRacePanelLink* panel = RacePanel())
            panel->RemoveLightAndBoard();
    if (m_state != kRacing)
        return;
    if (m_results) {
        m_winner = m_results->GetWinner();
    }
    if (ScreenGameMode() == kTestDriveMode) {
        LeaveRace();
        return;
    }
    SetScreenState(GAMESTATE_LAP_OF_HONOUR);
    m_state = kRaceOver;
}

void CWorldRaceMan::RestartRace() {
    CTrackObject* start = FindStartPiece();
    CVector facing;
    CVector side;
    if (start)
        GridAxes(*start, facing, side);
    CCarObject* cars[kMaxRacers] = {};
    const int count = static_cast<int>(std::min<std::uint32_t>(m_carCount, kMaxRacers));
    for (int slot = 0; slot < count; ++slot) {
        CCarObject* car = CarInSlot(slot);
        cars[slot] = car;
        if (!car)
            continue;
        // Each car goes back to the grid slot of its own slot before its driver is reset, so the driver's
        // lanes come from the grid, not from where the car stood when the race was stopped.
        if (start) {
            CVector position = GridSlotPosition(slot, start->Position(), facing, side);
            if (m_topography)
                position.y = m_topography->GetHeight(position.x, position.z);
            car->Redirect(facing);
            car->SetPositionVector(position);
        }
        car->CancelPickup(true);
        // A put-back still pending from the stopped race would throw the car off the grid once the new one
        // starts.
        car->CancelRespawn();
        car->SetVelocity(CVector());
        if (CDriver* driver = car->GetDriver()) {
            // Held until the start signal lets them go again, as at a first start: an active driver would
            // steer through the countdown, and its watchdog would keep putting the car back.
            driver->Deactivate();
            driver->ResetDriver();
        }
    }
    m_state = kNotRacing;
    if (start)
        PlaceOnGrid(cars, count, *start);
    m_countdown = kCountdownMs;
    if (m_results) {
        m_setup.laps = m_results->GetLaps();
        StartResults();
    }
    ResetTauntPanel();
    if (IRacePanelLink* panel = RacePanel())
        panel->StartRace();
    PauseMusic(true);
}

void CWorldRaceMan::LeaveRace() {
    const int request = m_leaveRequest;
    m_state = kNotRacing;
    if (IRacePanelLink* panel = RacePanel())
        panel->RemoveLightAndBoard();
    ClearCarSlots();
    const int next = ScreenGameMode() == kTestDriveMode ? GAMESTATE_CONSTRUCT
                     : request == kLeave                ? GAMESTATE_MAIN2
                                                        : GAMESTATE_RACE_END;
    SetScreenState(next);
}

void CWorldRaceMan::Deactivate() {
    m_introCameraSet = false;
    const int current = GetCurrentWorldId();
    if (current != kRace && current != kLapOfHonour)
        return;
    if (CShadowMan* shadows = CShadowMan::GetInstance())
        shadows->ResetSkidMarks();
    if (CGameSoundController* sound = Sound())
        sound->EndRace();
    if (m_cameras)
        m_cameras->SetCamera(-1, true, 3000);
    // The drivers go before their cars: a driver lets go of its car as it is deleted.
    if (CDriverManager* drivers = Drivers())
        drivers->DeleteAllDrivers();
    for (int slot = 0; slot < kCarSlots; ++slot)
        if (CWorldObject* car = GetCar(slot))
            RemoveObject(car);
    CParticleSystem::DestroyAll();
    m_topography.reset();
    // The cars the reports name are gone, and the race panel's picture goes with the panel.
    if (m_tauntQueue)
        m_tauntQueue->Clear();
    if (m_tauntMonitor)
        m_tauntMonitor->Detach();
    if (CAssetMan* assets = Assets(); assets && m_savedTheme != -1)
        assets->SetWorld(m_savedTheme, false);
    m_savedTheme = -1;
    m_activeTime = 0;
    CWorldMan::Deactivate();
    m_started = false;
}

float CWorldRaceMan::SurfaceParam(int field) const {
    CAssetMan* assets = Assets();
    float value = 0.0f;
    if (!assets)
        return value;
    const int theme = assets->GetWorld();
    if (theme < 0 || theme > 3)
        return value;
    assets->GetFloat(kSurfaceAssets[theme], field, value);
    return value;
}

float CWorldRaceMan::GetSurfaceParam371(float, float) const {
    return SurfaceParam(371);
}

float CWorldRaceMan::GetSurfaceParam372(float, float) const {
    return SurfaceParam(372);
}

float CWorldRaceMan::GetSurfaceParam373(float, float) const {
    return SurfaceParam(373);
}

float CWorldRaceMan::GetSurfaceParam374(float, float) const {
    return SurfaceParam(374);
}

CVector CWorldRaceMan::GetPieceVectorAt(float x, float z) const {
    CWorldGrid* grid = GetWorldGrid();
    if (!grid)
        return {};
    const CVector cell = CWorldGrid::WorldToGrid(CVector(x, 0.0f, z));
    if (cell.x < 0.0f || cell.z < 0.0f)
        return {};
    const CTrackObject* piece =
        grid->GetPieceAt(static_cast<std::uint32_t>(cell.x), static_cast<std::uint32_t>(cell.z));
    return piece ? piece->GetTrackAxis() : CVector();
}

CWorldObject* CWorldRaceMan::SpawnJamTruck(int, int driverSlot) {
    CDriverManager* drivers = Drivers();
    CDriver* driver = drivers ? drivers->CreateDriver(driverSlot, -1, DRIVER_KIND_JAM) : nullptr;
    if (!driver)
        return nullptr;
    const float height = m_topography ? m_topography->GetHeight(0.0f, 0.0f) : 0.0f;
    auto* truck = dynamic_cast<CCarObject*>(CreateWorldObject(kJamTruckCar, 0.0f, height, 0.0f, -1));
    if (!truck)
        return nullptr;
    truck->AssignDriver(driver);
    truck->Redirect(CVector(-1.0f, 0.0f, 0.0f));
    truck->InitLivery(-2);
    truck->SetTyreType(0);
    drivers->AddToWatchLists(truck);
    return truck;
}

void CWorldRaceMan::RequestStuntCam(const CVector&, CWorldObject*, unsigned) {}

void CWorldRaceMan::RemoveJamTruck(CWorldObject* truck) {
    if (CDriverManager* drivers = Drivers())
        drivers->RemoveJamTruck(dynamic_cast<CCarObject*>(truck));
}

COverlay* CWorldRaceMan::PanelOverlay(int panel) const {
    IWorldServices* services = GetServices();
    CSlideOut* slideOut = services ? services->FindSlideOut(panel) : nullptr;
    return slideOut ? slideOut->GetOverlay() : nullptr;
}

void CWorldRaceMan::AttachTaunts(int panel) {
    m_tauntPanel = panel;
    if (m_tauntMonitor)
        m_tauntMonitor->Attach(PanelOverlay(panel));
    if (m_tauntQueue)
        m_tauntQueue->Enable();
}

void CWorldRaceMan::ResetTauntPanel() {
    AttachTaunts(m_state == kRaceOver ? kLapOfHonourPanel : kRacePanel);
}

void CWorldRaceMan::FrameTaunts() {
    if (!m_tauntMonitor || !m_tauntQueue)
        return;
    if (!m_tauntsEnabled) {
        // Reports wait for no one: the next frame with taunts starts from its own.
        m_tauntQueue->Clear();
        return;
    }
    // A panel that slid away took its picture with it; the monitor draws again once the panel is rebuilt
    // (the panel then resets the taunts).
    if (m_tauntMonitor->IsAttached() && m_tauntMonitor->GetTarget() != PanelOverlay(m_tauntPanel))
        m_tauntMonitor->Detach();
    m_tauntMonitor->Update();
    m_tauntQueue->Frame();
}

void CWorldRaceMan::ReportTauntEvent(CWorldObject* car, int event) {
    if (m_tauntQueue)
        m_tauntQueue->ReportEvent(car, event);
}

} // namespace zentrix
