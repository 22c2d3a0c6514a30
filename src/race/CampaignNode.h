#pragma once

#include <cstdint>

namespace zentrix {

/// One race of the campaign's chain: its track, laps, opponents and world, how far the player has come
/// with it (locked, current or done), and the palette item it keeps locked until it is done.
class CCampaignNode {
public:
    /// Node states.
    enum EState : std::int32_t { kLocked = 0, kCurrent = 1, kDone = 2 };
    static constexpr int kTrackFileSize = 1024;

    /// The node's race as the campaign's definition gives it.
    struct SRecord {
        char trackFile[kTrackFileSize] = {}; ///< file name of the node's track, zero-terminated
        std::int32_t laps = 0;
        std::uint32_t opponentMask = 0; ///< OR of the opponent bits of its opponents
        std::int32_t reserved = 0;
        std::int32_t world = 0; ///< world theme of the race, 0..3
        std::int32_t state = kLocked;
        std::int32_t lockedItem = -1; ///< palette item: group x 100 + index; -1 none
    };

    CCampaignNode();
    virtual ~CCampaignNode();
    CCampaignNode(const CCampaignNode& other);
    CCampaignNode& operator=(const CCampaignNode& other) = default;

    /// Takes the node's record (its state as locked) and marks the node filled.
    void SetRecord(const SRecord& record);
    const SRecord& GetRecord() const { return m_record; }
    bool IsFilled() const { return m_filled; }
    int GetState() const { return m_record.state; }
    void SetState(int state) { m_record.state = state; }

    /// Number of nodes alive.
    static int LiveCount() { return s_live; }

private:
    bool m_filled = false;
    SRecord m_record;
    static int s_live;
};

} // namespace zentrix
