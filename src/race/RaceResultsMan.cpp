#include "race/RaceResultsMan.h"

#include "race/Driver.h"
#include "race/RaceResultsLinks.h"
#include "race/RaceRoute.h"
#include "race/RacerCar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zentrix {

namespace {

int LapsFromZero(int laps) {
    return laps < 0 ? 0 : laps;
}

/// Whole units between the car and a node.
int WholeDistance(const CVector& a, const CVector& b) {
    const double dx = static_cast<double>(a.x) - b.x;
    const double dy = static_cast<double>(a.y) - b.y;
    const double dz = static_cast<double>(a.z) - b.z;
    return static_cast<int>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

} // namespace

CRaceResultsMan::CRaceResultsMan(IRaceResultsLinks& links) : m_links(links) {}

CDriver* CRaceResultsMan::DriverOf(const SRecord& record) const {
    // Only the low byte of the slot picks the car.
    return m_links.GetSlotDriver(record.slot & 0xFF);
}

CRaceResultsMan::SRecord CRaceResultsMan::MakeRecord(int slot) {
    SRecord record;
    record.slot = slot;
    const IRaceRoute* route = m_links.GetRoute();
    record.nodeCount = route ? route->GetNodeCount() : 0;
    record.nodeChanges = record.nodeCount;
    record.position = slot + 1;
    if (const CDriver* driver = DriverOf(record)) {
        record.human = driver->GetKind() == 0;
        record.position = driver->GetRacePosition();
        // Only the thirteen drivers have names; another index would read whatever asset lies below them.
        const int index = driver->GetDriverIndex();
        if (index >= 0 && index <= kLastDriverIndex)
            m_links.LoadText(index + kFirstNameText, record.name);
    }
    return record;
}

void CRaceResultsMan::StartRace(const SStart& start) {
    m_raceOverTimer = kRaceOverMs;
    m_raceOver = false;
    m_finishers = 0;
    m_humanFinishers = 0;
    m_humanRacers = 0;
    m_start = start;
    m_lastLapPlayed = false;
    m_listTaken = false;
    m_records.clear();
    m_links.ClearPlates();

    auto carOf = [this](const SRecord& record) -> IRacerCar* {
        const CDriver* driver = DriverOf(record);
        return driver ? driver->GetCar() : nullptr;
    };
    if (!start.routeBroken) {
        // A race has at most four racers, whatever the count says.
        const int count = std::clamp(start.racerCount, 0, kMaxRacers);
        for (int slot = 0; slot < count; ++slot) {
            m_records.push_back(MakeRecord(slot));
            const SRecord& record = m_records.back();
            if (record.human) {
                m_links.AddPlate(slot, start.laps, carOf(record));
                ++m_humanRacers;
            }
        }
    } else {
        m_records.push_back(MakeRecord(0));
        m_links.AddPlate(0, -1, carOf(m_records.back()));
        m_humanRacers = 1;
    }
    m_ended = false;
}

void CRaceResultsMan::Update(int ms) {
    if (m_start.routeBroken) {
        if (!m_records.empty()) {
            const CDriver* driver = DriverOf(m_records.front());
            m_links.SetPlate(0, 1, 1, driver ? driver->GetCar() : nullptr);
        }
        return;
    }
    if (m_ended)
        return;
    PlayLastLapCue();
    for (SRecord& record : m_records)
        UpdateScore(record);
    for (SRecord& record : m_records)
        if (!record.finished)
            CountNodes(record);
    Finish();
    const int state = m_links.GetRaceState();
    if (state == 0 || state == 1)
        UpdatePositions();
    UpdatePlates();
    if (m_raceOver) {
        m_raceOverTimer -= ms;
        if (m_raceOverTimer < 0) {
            m_ended = true;
            // The race panel takes the list when it shows its board; without it the winner is taken here.
            if (!m_listTaken)
                GetResultList();
            m_links.OnRaceOver();
        }
    }
}

void CRaceResultsMan::PlayLastLapCue() {
    if (m_lastLapPlayed)
        return;
    for (const SRecord& record : m_records) {
        if (record.human && LapsFromZero(record.laps) == m_start.laps - 1) {
            m_links.StopUiSound();
            m_links.PlayUiSound(kLastLapSound);
            m_lastLapPlayed = true;
            return;
        }
    }
}

void CRaceResultsMan::UpdateScore(SRecord& record) {
    const CDriver* driver = DriverOf(record);
    const IRaceRoute* route = m_links.GetRoute();
    if (!driver || !driver->GetCar() || !route)
        return;
    const IRacerCar& car = *driver->GetCar();
    const int count = route->GetNodeCount();
    int next = record.node + 1;
    if (next >= record.nodeCount)
        next = 0;
    // A route rebuilt under the race has other nodes: nothing to measure against.
    if (next < 0 || next >= count)
        return;
    const int length = route->GetRouteLength();
    const int distance = WholeDistance(car.GetPosition(), route->GetNodePosition(next));
    int score = 0;
    if (next != 0) {
        int laps = LapsFromZero(record.laps);
        if (record.laps == m_start.laps && record.node == 0)
            ++laps;
        score = route->GetRouteDistanceToNode(next) - distance + laps * length;
    } else {
        score = (LapsFromZero(record.laps) + 1) * length - distance;
    }
    // A big jump (a car placed behind the line at the start, or one with its finishing bonus) is ignored.
    const long long jump = std::llabs(static_cast<long long>(record.score) - score);
    if (jump < static_cast<long long>(static_cast<unsigned>(length) / 3u))
        record.score = score;
    if (car.GetStuntState() != 6)
        record.shownPosition = record.position;
}

void CRaceResultsMan::CountNodes(SRecord& record) {
    const CDriver* driver = DriverOf(record);
    if (!driver || !driver->GetCar())
        return;
    const int reached = driver->GetLapNode();
    if (reached == record.node)
        return;
    const int n = record.nodeCount;
    const int step = std::max(1, n / 8);
    const bool crossed = reached == 1 || (record.node > n - step &&
                                          static_cast<unsigned>(reached) < static_cast<unsigned>(step));
    if (record.nodeChanges > n / 4 && crossed) {
        ++record.laps;
        record.node = 1;
        record.nodeChanges = 0;
    }
    record.node = reached;
    ++record.nodeChanges;
}

void CRaceResultsMan::Finish() {
    for (SRecord& record : m_records) {
        CDriver* driver = DriverOf(record);
        if (record.finished || !driver || !driver->GetCar())
            continue;
        if (static_cast<unsigned>(LapsFromZero(record.laps)) < static_cast<unsigned>(m_start.laps))
            continue;
        if (m_finishers == 0) {
            driver->SetFinished(true);
            m_links.PlayUiSound(kFinishSound);
            m_links.SuspendUiSounds(kFinishQuietMs);
        } else {
            driver->SetFinished(false);
        }
        ++m_finishers;
        if (record.human)
            ++m_humanFinishers;
        record.score += (4 - record.position) * kFinishBonus;
        record.finished = true;
        driver->Deactivate();
        if (m_humanFinishers == m_humanRacers)
            m_raceOver = true;
    }
}

void CRaceResultsMan::UpdatePositions() {
    // Highest score first; equal scores keep list order.
    const std::size_t count = std::min<std::size_t>(m_records.size(), kMaxRacers);
    std::vector<bool> placed(count, false);
    for (std::size_t place = 1; place <= count; ++place) {
        std::size_t best = count;
        for (std::size_t i = 0; i < count; ++i)
            if (!placed[i] && (best == count || m_records[i].score > m_records[best].score))
                best = i;
        placed[best] = true;
        m_records[best].position = static_cast<int>(place);
    }
    for (std::size_t i = 0; i < count; ++i)
        if (CDriver* driver = DriverOf(m_records[i]))
            driver->SetPosition(m_records[i].position);
}

void CRaceResultsMan::UpdatePlates() {
    if (m_listTaken)
        return;
    for (const SRecord& record : m_records) {
        if (!record.human)
            continue;
        const CDriver* driver = DriverOf(record);
        m_links.SetPlate(record.slot, record.shownPosition, LapsFromZero(record.laps),
                         driver ? driver->GetCar() : nullptr);
    }
}

std::vector<CRaceResultsMan::SResultRow> CRaceResultsMan::GetResultList() {
    m_listTaken = true;
    std::vector<SResultRow> rows;
    for (const SRecord& record : m_records) {
        const CDriver* driver = DriverOf(record);
        SResultRow row;
        row.nameTextId = (driver ? driver->GetDriverIndex() : -1) + kFirstNameText;
        row.human = record.human;
        row.slot = record.slot;
        row.position = record.position;
        rows.push_back(row);
        if (record.position != 1 || !driver || !driver->GetCar())
            continue;
        const IRacerCar& car = *driver->GetCar();
        m_winner.driver = driver->GetDriverIndex();
        m_winner.kind = driver->GetKind();
        // The type id names the car model; the lap of honour makes the same model.
        m_winner.car = car.GetTypeId();
        m_winner.skin = car.GetLiveryChoice();
        m_winner.tyre = car.GetTyreType();
        m_winner.slot = record.slot;
    }
    return rows;
}

} // namespace zentrix
