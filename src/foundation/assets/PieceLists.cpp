#include "foundation/assets/PieceLists.h"

namespace zentrix {

namespace {

// The suffixes of each group's pieces, added to a world's base id. Group 0 ends with the start piece.
constexpr int kGroup0[] = {201, 206, 203, 208, 204, 209, 217, 226, 233, 216, 211, 293, 207, 202,
                           227, 228, 225, 235, 212, 292, 222, 221, 218, 219, 220, 224, 223, 229};
constexpr int kGroup1[] = {246, 248, 249, 250, 251, 252, 255, 241, 245, 244, 243, 240, 247, 242, 277};
constexpr int kGroup2[] = {262, 263, 264, 265, 266, 279, 268, 269, 271, 272, 278, 276, 261, 274, 260};
constexpr int kWorldBase[] = {15000, 16000, 18000, 17000}; // jungle, ice, desert, city
constexpr int kStartSuffix[] = {205, 200, 205, 200};

} // namespace

int CPieceLists::GetFixedCount(int group) {
    switch (group) {
    case 0:
        return static_cast<int>(std::size(kGroup0)) + 1;
    case 1:
        return static_cast<int>(std::size(kGroup1));
    case 2:
        return static_cast<int>(std::size(kGroup2));
    default:
        return 0;
    }
}

int CPieceLists::ThemeBaseId(int world) {
    return world >= 0 && world < static_cast<int>(std::size(kWorldBase)) ? kWorldBase[world] : -1;
}

int CPieceLists::GetFixedId(int world, int group, int i) {
    if (world < 0 || world > 3 || i < 0 || i >= GetFixedCount(group))
        return -1;
    const int base = kWorldBase[world];
    switch (group) {
    case 0:
        return base + (i < static_cast<int>(std::size(kGroup0)) ? kGroup0[i] : kStartSuffix[world]);
    case 1:
        return base + kGroup1[i];
    default:
        return base + kGroup2[i];
    }
}

void CPieceLists::Fill(const RecordReader& read, int stored) {
    Clear();
    for (int world = 0; world < kWorldCount; ++world) {
        for (int group = 0; group < kGroupCount; ++group) {
            int start = 0;
            read(178 + group, 0, start);
            for (int k = 0;; ++k) {
                int id = -1;
                if (world < 4)
                    id = GetFixedId(world, group, k);
                // Past the stored elements every element reads as the same default, so the list ends there.
                else if (start < 0 || start >= stored - k || !read(185, start + k, id))
                    break;
                if (id <= 0 || !Append(world, group, id))
                    break;
            }
        }
    }
}

void CPieceLists::Clear() {
    for (auto& world : m_lists)
        for (auto& list : world)
            list.clear();
    m_entries.clear();
}

bool CPieceLists::Append(int world, int group, int id) {
    if (world < 0 || world >= kWorldCount || group < 0 || group >= kGroupCount || id < 1 || id > kMaxId)
        return false;
    std::vector<int>& list = m_lists[static_cast<std::size_t>(world)][static_cast<std::size_t>(group)];
    if (list.size() > 0x7FFF)
        return false;
    if (m_entries.size() <= static_cast<std::size_t>(id))
        m_entries.resize(static_cast<std::size_t>(id) + 1);
    m_entries[static_cast<std::size_t>(id)] = {static_cast<std::uint8_t>(world),
                                               static_cast<std::uint8_t>(group),
                                               static_cast<std::int16_t>(list.size())};
    list.push_back(id);
    return true;
}

int CPieceLists::GetLength(int world, int group) const {
    if (world < 0 || world >= kWorldCount || group < 0 || group >= kGroupCount)
        return 0;
    return static_cast<int>(m_lists[static_cast<std::size_t>(world)][static_cast<std::size_t>(group)].size());
}

int CPieceLists::GetEntry(int index, int world, int group) const {
    if (index < 0 || index >= GetLength(world, group))
        return -1;
    return m_lists[static_cast<std::size_t>(world)][static_cast<std::size_t>(group)]
                  [static_cast<std::size_t>(index)];
}

const CPieceLists::SIdEntry* CPieceLists::Find(int id) const {
    if (id < 1 || static_cast<std::size_t>(id) >= m_entries.size())
        return nullptr;
    return &m_entries[static_cast<std::size_t>(id)];
}

int CPieceLists::GetEquivalentId(int id, int world) const {
    const SIdEntry* entry = Find(id);
    if (!entry)
        return -1;
    if (entry->world == 255)
        return id;
    return GetEntry(entry->index, world, entry->group);
}

int CPieceLists::GetPieceIndex(int id) const {
    const SIdEntry* entry = Find(id);
    return entry ? entry->index : -1;
}

int CPieceLists::GetGroup(int id) const {
    const SIdEntry* entry = Find(id);
    return entry ? entry->group : 3;
}

} // namespace zentrix
