#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace zentrix {

/// The track pieces of the five piece worlds (jungle, ice, desert, city and the free world 4) in three
/// groups each, and for every piece id where it stands, so that a piece can be swapped for the piece in
/// the same place of another world.
class CPieceLists {
public:
    static constexpr int kWorldCount = 5;
    static constexpr int kGroupCount = 3;
    /// The highest id a list takes: the entry table grows up to it and no further.
    static constexpr int kMaxId = 80000;

    /// Where an id stands: world and group 255 and index -1 when nowhere.
    struct SIdEntry {
        std::uint8_t world = 255;
        std::uint8_t group = 255;
        std::int16_t index = -1;
    };

    /// The first type id of theme 0..3's block (jungle 15000, ice 16000, desert 18000, city 17000); -1 for
    /// another theme.
    static int ThemeBaseId(int world);
    /// The length of a group's fixed table (29, 15, 15); 0 for another group.
    static int GetFixedCount(int group);
    /// Entry i of the fixed table of world 0..3 and group 0..2 (the start piece closes group 0); -1 outside
    /// the table.
    static int GetFixedId(int world, int group, int i);

    /// Reads an integer element of the piece-list record: false when it cannot be read.
    using RecordReader = std::function<bool(int dataId, int element, int& out)>;

    /// Fills every list: worlds 0..3 from the fixed tables, world 4 from the record's data id 185 (of which
    /// `stored` elements are stored), each group from the element its start id (178 + group) names. A
    /// list ends at an entry of 0 or less, an id beyond kMaxId or the end of the stored elements.
    void Fill(const RecordReader& read, int stored);
    /// Forgets every list and entry.
    void Clear();
    /// Appends an id (1..kMaxId) to a list and records where it stands; false (nothing stored) otherwise.
    bool Append(int world, int group, int id);

    /// Entry index of a list; -1 outside the list or for a world or group out of range.
    int GetEntry(int index, int world, int group) const;
    /// The length of a list (0 out of range).
    int GetLength(int world, int group) const;
    /// The id in the same group and place of world's list; the id itself when it stands in no list; -1
    /// for an id below 1 or beyond the entry table, a world outside 0..4 or a list too short.
    int GetEquivalentId(int id, int world) const;
    /// The id's index in its list; -1 when it stands in none.
    int GetPieceIndex(int id) const;
    /// The id's group; 3 for an id below 1 or beyond the table, 255 when it stands in no list.
    int GetGroup(int id) const;

private:
    const SIdEntry* Find(int id) const;

    std::array<std::array<std::vector<int>, kGroupCount>, kWorldCount> m_lists;
    std::vector<SIdEntry> m_entries;
};

} // namespace zentrix
