#pragma once

#include "race/RaceOverlay.h"
#include "race/RaceText.h"

#include <array>
#include <memory>
#include <vector>

namespace zentrix {

/// The results board: it rises from the bottom of the screen after the race with a title line and one
/// line per racer in finishing order, humans in white, computer racers in green.
class CRaceStatsBoard {
public:
    static constexpr int kPicture = 39671;
    static constexpr int kTitleText = 7981;
    /// The first of the drivers' name texts, by driver index.
    static constexpr int kFirstNameText = 7000;
    static constexpr int kStartX = 90;
    static constexpr int kStartY = 480;
    static constexpr int kEndX = 90;
    static constexpr int kEndY = 80;
    static constexpr int kSlideMs = 1000;
    static constexpr std::uint32_t kHumanColour = 0xFFFFFF;
    static constexpr std::uint32_t kComputerColour = 0x9DD5A8;
    static constexpr int kLineCount = 5;

    /// One racer's final line: its driver, whether a player drove, and where it finished (1..4).
    struct SRecord {
        int driverIndex = -1;
        bool human = false;
        int position = 0;
    };

    /// The board below the screen with its title; `records` fill the lines of positions 1 to 4.
    explicit CRaceStatsBoard(const std::vector<SRecord>& records);

    /// The timer and the position.
    void Advance(int ms);
    /// Every line that is left.
    void DrawLines();

    bool IsLoaded() const { return m_loaded; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    /// Line `i`, or null where the board has no racer for it.
    const CRaceText* GetLine(int i) const;

private:
    bool m_loaded = false;
    std::unique_ptr<CRaceOverlay> m_overlay;
    std::unique_ptr<COverlay> m_background;
    int m_timer = 0;
    int m_x = kStartX;
    int m_y = kStartY;
    std::array<std::unique_ptr<CRaceText>, kLineCount> m_lines;
};

} // namespace zentrix
