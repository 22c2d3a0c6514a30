#include "race/RaceStatsBoard.h"

#include "render/Overlay.h"

#include <algorithm>

namespace zentrix {

namespace {

constexpr plat::gfx2d::Rect kLineRects[CRaceStatsBoard::kLineCount] = {{69, 24, 329, 51},
                                                                       {100, 105, 360, 132},
                                                                       {131, 184, 391, 211},
                                                                       {163, 264, 423, 291},
                                                                       {195, 344, 455, 371}};
/// The board areas of lines 3 and 4, cleared when the race had no racer for them.
constexpr plat::gfx2d::Rect kLineAreas[2] = {{0, 238, 465, 313}, {0, 313, 465, 388}};
constexpr int kBoardFont = 2;

} // namespace

CRaceStatsBoard::CRaceStatsBoard(const std::vector<SRecord>& records) {
    auto overlay = std::make_unique<COverlay>(kPicture);
    m_loaded = overlay->GetWidth() > 0;
    overlay->SetPosition(m_x, m_y);
    m_overlay = std::make_unique<CRaceOverlay>(std::move(overlay));
    m_background = LoadRacePicture(kPicture);
    for (int i = 0; i < kLineCount; ++i) {
        m_lines[i] = std::make_unique<CRaceText>();
        m_lines[i]->Init(i == 0 ? kTitleText : -1, kLineRects[i], kBoardFont, m_overlay->Get());
    }
    for (const SRecord& record : records) {
        if (record.position < 1 || record.position >= kLineCount)
            continue;
        CRaceText& line = *m_lines[record.position];
        line.SetText(kFirstNameText + record.driverIndex);
        line.SetColour(record.human ? kHumanColour : kComputerColour);
    }
    for (int line = 3; line < kLineCount; ++line)
        if (static_cast<int>(records.size()) < line) {
            m_lines[line].reset();
            (*m_overlay)->FillRect(CRaceText::kColourKey, kLineAreas[line - 3]);
        }
}

const CRaceText* CRaceStatsBoard::GetLine(int i) const {
    return i >= 0 && i < kLineCount ? m_lines[i].get() : nullptr;
}

void CRaceStatsBoard::Advance(int ms) {
    m_timer += ms;
    const int t = std::min(m_timer, kSlideMs);
    m_x = kStartX + (kEndX - kStartX) * t / kSlideMs;
    m_y = kStartY + (kEndY - kStartY) * t / kSlideMs;
    (*m_overlay)->SetPosition(m_x, m_y);
}

void CRaceStatsBoard::DrawLines() {
    for (const auto& line : m_lines)
        if (line)
            line->Draw();
}

} // namespace zentrix
