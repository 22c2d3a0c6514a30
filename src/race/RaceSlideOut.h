#pragma once

#include "race/RacePanelLink.h"
#include "race/RaceStatsBoard.h"
#include "ui/SlideOut.h"

#include <array>
#include <memory>
#include <vector>

namespace zentrix {

class COverlay;
class CRaceText;
class CRaceTrafficLight;
class CWorldRaceMan;

/// The race's panel (game state 15): a strip along the top of the screen with a plate per human racer
/// (face, position, lap, held pickup), over a start light, a line of text for the test drive and the
/// results board after the race.
class CRaceSlideOut : public CSlideOut, public IRacePanelLink {
public:
    /// Pictures: the plate and the empty plate, then faces, pickup icons, position and lap marks from
    /// the plate's id.
    static constexpr int kPlatePicture = 39510;
    static constexpr int kEmptyPlatePicture = 39547;
    static constexpr int kPlateCount = 4;
    static constexpr int kPlateWidth = 160;
    /// The test drive's line of text and where it lies.
    static constexpr int kTestDriveText = 7658;

    /// One racer's plate.
    class CPlayerEntry {
    public:
        /// The plate of slot `slot` for a race of `totalLaps` (-1: a race of one racer), with the face
        /// of driver `driverIndex` (0..12; any other: none).
        void Init(int slot, int totalLaps, int driverIndex);
        /// Forgets the plate and its pictures.
        void Clear();
        /// Draws the plate onto the panel picture; `marks` false leaves out position and lap.
        void Draw(COverlay& target, bool marks) const;
        /// Whether position, laps or pickup differ from what was shown; then they are kept.
        bool Set(int position, int laps, int pickupType);

        /// The lap mark of laps value `laps` in a race of `totalLaps`, -1 for none.
        static int LapMark(int totalLaps, int laps);
        /// The icon of a held pickup, -1 for none.
        static int PickupIcon(int pickupType);
        /// The face picture of a driver index, -1 for none.
        static int FacePicture(int driverIndex);

        int x = 0;
        int y = 0;
        int totalLaps = 0;
        int position = 0;
        int laps = 0;
        int pickupType = -1;
        bool shown = false;
        bool dirty = false;

    private:
        std::unique_ptr<COverlay> m_plate;
        std::unique_ptr<COverlay> m_face;
        std::array<std::unique_ptr<COverlay>, 8> m_pickupIcons;
        std::array<std::unique_ptr<COverlay>, 9> m_lapMarks;
        std::array<std::unique_ptr<COverlay>, 4> m_positionMarks;
    };

    CRaceSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel);
    ~CRaceSlideOut() override;

    bool Activate(bool immediate) override;
    void Deactivate(bool immediate) override;
    void Update(int ms) override;
    void OnChar(int) override {}
    void OnControl(int) override {}
    void AttachWorld() override;
    void CreateOverlay() override;
    void ReleaseOverlay() override;

    // What the race world asks.
    void StartRace() override;
    void StartLights() override;
    void RemoveLightAndBoard() override;

    /// What the race results tell: plates cleared, added and kept up to date. A plate beyond the four
    /// there are is refused, as is a slot outside 0..3.
    void ClearEntries();
    void AddEntry(int slot, int totalLaps, int driverIndex);
    void SetEntry(int slot, int position, int laps, int pickupType);

    /// The results board with the racers' final lines, made once when the results say it is due.
    void ShowStatsBoard(const std::vector<CRaceStatsBoard::SRecord>& records);

    const CPlayerEntry& GetEntry(int slot) const { return m_entries[slot]; }
    int GetEntryCount() const { return m_entryCount; }
    const CRaceTrafficLight* GetTrafficLight() const { return m_trafficLight.get(); }
    const CRaceStatsBoard* GetStatsBoard() const { return m_statsBoard.get(); }
    const CRaceText* GetRaceText() const { return m_raceText.get(); }

private:
    void DrawPlates();
    bool IsTestDrive() const;

    CWorldRaceMan* m_raceWorld = nullptr;
    std::unique_ptr<CRaceText> m_raceText;
    std::unique_ptr<CRaceTrafficLight> m_trafficLight;
    std::unique_ptr<CRaceStatsBoard> m_statsBoard;
    std::unique_ptr<COverlay> m_emptyPlate;
    std::array<CPlayerEntry, kPlateCount> m_entries;
    int m_entryCount = 0;
    bool m_dirty = false;
};

} // namespace zentrix
