#pragma once

#include "foundation/base/ManagerInterface.h"
#include "foundation/math/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zentrix {

class CDriver;
class IRaceResultsLinks;

/// Follows every racer along the route during a race: counts laps, keeps the score that orders the
/// racers, gives each its position, plays the last-lap and first-finisher cues, marks finishers, and
/// when every human racer has finished, hands over to the race world 5000 ms later.
class CRaceResultsMan : public CManagerInterface {
public:
    static constexpr int kMaxRacers = 4;
    static constexpr int kRaceOverMs = 5000;
    /// The results board shows once the race-over timer falls below this.
    static constexpr int kBoardDueMs = 4400;
    static constexpr int kFirstNameText = 7000;
    static constexpr int kLastDriverIndex = 12;
    static constexpr int kLastLapSound = 50031;
    static constexpr int kFinishSound = 50024;
    static constexpr int kFinishQuietMs = 2000;
    /// Each place ahead of fourth is worth this much score at the finish.
    static constexpr int kFinishBonus = 10000;
    /// No driver in the winner record.
    static constexpr int kNoWinner = 13;

    /// What the race world hands over at each start.
    struct SStart {
        CVector startPosition;
        int routeBroken = 0;
        int laps = 0; ///< -1: no finish (the lap of honour)
        int racerCount = 0;
        int humanCount = 0;
    };
    /// One racer followed.
    struct SRecord {
        int slot = 0;
        int position = 0;
        int shownPosition = 0;
        int laps = -1;
        int node = 1;
        int score = 0;
        bool human = false;
        bool finished = false;
        std::string name;
        int nodeCount = 0;
        int nodeChanges = 0;
    };
    /// One row of the final list.
    struct SResultRow {
        int nameTextId = 0;
        bool human = false;
        int slot = 0;
        int position = 0;
    };
    /// The racer in first place when the final list was made.
    struct SWinner {
        int driver = kNoWinner;
        int kind = -1;
        int car = -1;
        int skin = -1;
        int tyre = -1;
        int slot = -1;
    };

    /// Results reaching the race through `links` (not null).
    explicit CRaceResultsMan(IRaceResultsLinks& links);

    int StartManager() override { return 0; }
    int StopManager() override { return 0; }

    /// A race (or the lap of honour) starts: one record per racer, or only the first on a broken route.
    void StartRace(const SStart& start);
    /// The per-frame step.
    void Update(int ms);
    int GetLaps() const { return m_start.laps; }
    /// Whether a human racer has reached the last lap of this race (its cue has played); the lap of
    /// honour has none.
    bool IsLastLap() const { return m_lastLapPlayed; }
    /// Makes the final list, one row per record in list order; the first place gives the winner record.
    std::vector<SResultRow> GetResultList();
    const SWinner& GetWinner() const { return m_winner; }
    /// 600 ms after the race is over: the race panel shows its board, the pause key is ignored.
    bool IsResultBoardDue() const { return m_raceOverTimer < kBoardDueMs; }
    bool IsEnded() const { return m_ended; }
    bool IsRaceOver() const { return m_raceOver; }
    int GetFinisherCount() const { return m_finishers; }
    int GetHumanRacers() const { return m_humanRacers; }
    int GetRaceOverTimer() const { return m_raceOverTimer; }
    const std::vector<SRecord>& GetRecords() const { return m_records; }

private:
    SRecord MakeRecord(int slot);
    CDriver* DriverOf(const SRecord& record) const;
    void PlayLastLapCue();
    void UpdateScore(SRecord& record);
    void CountNodes(SRecord& record);
    void Finish();
    void UpdatePositions();
    void UpdatePlates();

    IRaceResultsLinks& m_links;
    std::vector<SRecord> m_records;
    SStart m_start;
    bool m_ended = false;
    int m_finishers = 0;
    int m_humanFinishers = 0;
    bool m_listTaken = false;
    int m_humanRacers = 0;
    bool m_lastLapPlayed = false;
    int m_raceOverTimer = kRaceOverMs;
    bool m_raceOver = false;
    SWinner m_winner;
};

} // namespace zentrix
