#pragma once

#include "app/RaceSetup.h"
#include "foundation/math/Vector.h"
#include "race/RaceResultsMan.h"
#include "race/TauntVideoPlayer.h"
#include "world/RaceWorldLink.h"
#include "world/WorldMan.h"

#include <cstdint>
#include <memory>

namespace zentrix {

class CCarObject;
class COverlay;
class CRaceCamMan;
class CRaceTauntCars;
class CRaceWorldResultsLinks;
class CTauntEventQueue;
class CTauntMonitor;
class CTrackObject;
class CVornMessageBox;
class CWorldTopography;
class IRacePanelLink;

/// The race world, serving world ids 1 (a race) and 3 (the lap of honour: the last race run again). It
/// turns a race set-up into a running race: loads the track, builds the ground lookup, places the cars on
/// the start piece, runs the countdown, advances the world each frame, takes pause and leave requests
/// and, when the race is over, chooses the game state that follows.
class CWorldRaceMan : public CWorldMan, public IRaceWorldLink {
public:
    /// Race states.
    enum ERaceState : int {
        kNotRacing = -1, ///< the countdown runs, or the race is being left
        kRacing = 0,
        kRaceOver = 1, ///< the lap of honour
        kPaused = 2,
        kAskingAgain = 3 ///< the race-again box is open
    };
    /// Leave requests.
    enum ELeaveRequest : int { kNoRequest = -1, kRestart = 0, kLeave = 1 };
    /// Game modes that reach the race world.
    static constexpr int kTestDriveMode = 1;
    static constexpr int kRaceMode = 3;
    /// Milliseconds of countdown before the start lights.
    static constexpr int kCountdownMs = 5000;
    /// A test drive ends by itself after this long.
    static constexpr int kTestDriveMs = 90000;
    /// Milliseconds after activation before any key or a click leaves the lap of honour.
    static constexpr unsigned kLeaveDelayMs = 5000;
    /// Slide-out indices of the panels the race world talks to.
    static constexpr int kRacePanel = 3;
    static constexpr int kRaceOptionsPanel = 4;
    static constexpr int kLapOfHonourPanel = 14;
    /// Resource texts of the race-again box.
    static constexpr int kRaceAgainText = 7500;
    static constexpr int kRaceAgainTitle = 7501;
    /// The winner of the last race, copied from the results for the lap of honour.
    using SWinner = CRaceResultsMan::SWinner;

    CWorldRaceMan();
    ~CWorldRaceMan() override;

    /// The one race world (null while none exists).
    static CWorldRaceMan* GetInstance() { return s_instance; }

    /// The shared world is set up and the race's own helpers made; 1 when the shared world cannot be.
    int Create() override;
    int Destroy() override;
    /// The race part of a frame: the objects, physics, collisions, cameras and shadows; only shadows while
    /// paused or asking whether to race again.
    void Tick(unsigned ms) override;
    /// The race is over: its sounds, cars, particles, ground and drivers go, the theme comes back.
    void Deactivate() override;
    /// A race needs a start piece on the track.
    bool CanActivate() override;
    /// One frame of the race: base frame, intro camera, countdown, tick, leave requests, input.
    void Frame(unsigned ms) override;

    void StartRace(const CRaceSetup& setup, bool restart) override;
    IWorldTopographyLink* GetTopography() override;
    /// The ground lookup of the running race (null before a race built one).
    CWorldTopography* GetWorldTopography() const { return m_topography.get(); }
    /// The results of the race (null before Create).
    CRaceResultsMan* GetResults() const { return m_results.get(); }
    /// The race cameras (null before Create, or without an engine camera).
    CRaceCamMan* GetCameras() const { return m_cameras.get(); }

    /// The start signal: drivers are let go (after the countdown and the start lights).
    void StartRacing();
    /// Pauses or resumes the race's sounds and music, keeping the state to come back to.
    void SetPaused(bool on);
    /// Escape or Space: pause, the test drive's way back, or the race-again box.
    void RequestPause();
    /// Restart (0), leave (1) or none (-1), taken only while no request waits.
    void RequestQuit(int choice);
    /// The results report that the human racers have finished.
    void OnRaceFinished();

    int GetState() const { return m_state; }
    bool IsPaused() const override { return m_state == kPaused; }
    bool IsRaceActive() const override { return m_state == kRacing || m_state == kRaceOver; }
    bool IsRaceOver() const { return m_state == kRaceOver; }
    void SetRaceOver() { m_state = kRaceOver; }
    /// Whether a race was started since the world was last deactivated.
    bool HasStarted() const override { return m_started; }
    int GetLeaveRequest() const { return m_leaveRequest; }
    int GetCountdown() const { return m_countdown; }
    std::uint32_t GetFrameCount() const { return m_frameCount; }
    int GetCarCount() const { return static_cast<int>(m_carCount); }
    int GetHumanCount() const { return m_humanCount; }
    int GetTestDriveTime() const { return m_testDriveTime; }
    /// The set-up of the race started last.
    const CRaceSetup& GetRaceSetup() const { return m_setup; }
    bool IsLapOfHonour() const { return m_state == kRaceOver; }

    const SWinner& GetWinner() const { return m_winner; }
    int GetWinnerIndex() const { return m_winner.driver; }
    int GetWinnerCar() const { return m_winner.car; }
    int GetWinnerSkin() const { return m_winner.skin; }
    int GetWinnerTyre() const { return m_winner.tyre; }
    int GetWinnerSlot() const { return m_winner.slot; }

    void SetTauntsEnabled(bool on) { m_tauntsEnabled = on; }
    bool AreTauntsEnabled() const { return m_tauntsEnabled; }
    /// How the taunt monitor gets its face-video players; given before Create (none: no faces).
    void SetTauntPlayerMaker(TauntPlayerMaker maker) { m_makeTauntPlayer = std::move(maker); }
    /// A taunt report about a car, for the taunt queue (which may refuse it).
    void ReportTauntEvent(CWorldObject* car, int event) override;
    /// The taunt monitor draws into the race panel's picture (the lap-of-honour panel's while the race
    /// is over) from now on, and the taunt queue starts afresh.
    void ResetTauntPanel();
    /// The taunt queue and monitor (null before Create).
    CTauntEventQueue* GetTauntEventQueue() const { return m_tauntQueue.get(); }
    CTauntMonitor* GetTauntMonitor() const { return m_tauntMonitor.get(); }

    /// Surface fields 371..374 of the current theme's surface record; x and z do not matter.
    float GetSurfaceParam371(float x, float z) const;
    float GetSurfaceParam372(float x, float z) const;
    float GetSurfaceParam373(float x, float z) const;
    float GetSurfaceParam374(float x, float z) const;
    /// The axis of the piece on the tile under (x, z); zero without one.
    CVector GetPieceVectorAt(float x, float z) const;
    /// A jam truck (car 60015) with its driver in `driverSlot`, at the centre of the world facing -x and
    /// watched by every racer; null when no driver could be made. The first value is not used.
    CWorldObject* SpawnJamTruck(int value, int driverSlot) override;
    /// The barrel and loop pieces ask for a stunt camera; the race keeps its own cameras.
    void RequestStuntCam(const CVector& position, CWorldObject* car, unsigned ms) override;
    /// An ended jam truck leaves every driver's watch list.
    void RemoveJamTruck(CWorldObject* truck) override;

    /// The first object of the current theme's start piece; null when there is none.
    static CTrackObject* FindStartPiece();
    /// Grid slot 0..3 beside and behind the start position: two abreast, 10 units apart, the front row
    /// 10 units ahead of the start piece's centre, the second 4 units behind it.
    static CVector GridSlotPosition(int slot, const CVector& start, const CVector& facing,
                                    const CVector& side);
    /// The direction the cars face on the grid (the start piece's turned half round) and the direction
    /// across it.
    static void GridAxes(const CTrackObject& start, CVector& facing, CVector& side);
    /// The start rank of each car by its top speed: the fastest first; ties keep the entry order.
    static void RankBySpeed(const float* topSpeeds, int count, int* ranks);

    /// The process-wide countdown-finished flag, set when the countdown runs out.
    static bool IsCountdownFinished() { return s_countdownFinished; }

private:
    void PlaceCars(const CRaceSetup& setup);
    void PlaceOnGrid(CCarObject* const* cars, int count, const CTrackObject& start);
    void StartResults();
    float SurfaceParam(int field) const;
    void HandleInput();
    void ProcessLeaveRequest();
    void LeaveRace();
    void RestartRace();
    void SetOverviewCamera();
    IRacePanelLink* RacePanel() const;
    COverlay* PanelOverlay(int panel) const;
    void AttachTaunts(int panel);
    void FrameTaunts();

    static CWorldRaceMan* s_instance;
    static bool s_countdownFinished;
    static int s_savedState;

    int m_state = kNotRacing;
    int m_leaveRequest = kNoRequest;
    std::uint32_t m_frameCount = 0;
    std::uint32_t m_activeTime = 0;
    bool m_introCameraSet = false;
    std::uint32_t m_carCount = 0;
    std::unique_ptr<CWorldTopography> m_topography;
    std::unique_ptr<CRaceWorldResultsLinks> m_resultsLinks;
    std::unique_ptr<CRaceResultsMan> m_results;
    std::unique_ptr<CRaceCamMan> m_cameras;
    int m_humanCount = 0;
    int m_countdown = 0;
    int m_savedTheme = -1;
    SWinner m_winner;
    std::unique_ptr<CVornMessageBox> m_raceAgainBox;
    CRaceSetup m_setup{};
    TauntPlayerMaker m_makeTauntPlayer;
    std::unique_ptr<CRaceTauntCars> m_tauntCars;
    std::unique_ptr<CTauntMonitor> m_tauntMonitor;
    std::unique_ptr<CTauntEventQueue> m_tauntQueue; ///< after the monitor and the cars, which it uses
    int m_tauntPanel = kRacePanel;                  ///< the panel whose picture the monitor draws into
    bool m_tauntsEnabled = false;
    bool m_started = false;
    int m_testDriveTime = 0;
    bool m_created = false;
};

} // namespace zentrix
