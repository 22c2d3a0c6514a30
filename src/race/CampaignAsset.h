#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

class CCampaignNode;
class CDataFile;

/// The campaign's definition as its data record holds it: a count of nodes and, for node i in group
/// g = i div 5 at place p = i mod 5, the p-th double-quoted string of text field 282 + g as its track
/// file and of 292 + g as its opponents' letters, and element i of the int fields for laps (290), world
/// (291) and the palette item it keeps locked (307).
class CCampaignAsset {
public:
    /// The asset and its fields.
    static constexpr int kAssetId = 4;
    static constexpr int kFieldValue = 280;
    static constexpr int kFieldNodeCount = 281;
    static constexpr int kFieldTracks = 282;
    static constexpr int kFieldLaps = 290;
    static constexpr int kFieldWorlds = 291;
    static constexpr int kFieldOpponents = 292;
    static constexpr int kFieldLockedItems = 307;
    /// Nodes per text field, and the most nodes the fields have room for (eight text fields of each kind
    /// before the int fields that follow them).
    static constexpr int kNodesPerGroup = 5;
    static constexpr int kMaxNodes = 40;
    /// Text fields are read up to this many bytes; a quoted string keeps at most one less.
    static constexpr std::size_t kTextSize = 1024;

    CCampaignAsset();
    virtual ~CCampaignAsset();
    CCampaignAsset(const CCampaignAsset&) = delete;
    CCampaignAsset& operator=(const CCampaignAsset&) = delete;

    /// Reads the definition from its data record (null: none); false, with nothing kept and the reason
    /// in GetFailure, when the record is missing, a field cannot be read or the node count is beyond 40.
    bool Load(const CDataFile* record);
    /// Why the last Load failed, naming the asset and the field ("asset 4, field 290 element 3: cannot be
    /// read"); empty after a load that succeeded.
    const std::string& GetFailure() const { return m_failure; }

    bool IsLoaded() const { return m_loaded; }
    int GetValue() const { return m_value; }
    int GetNodeCount() const { return static_cast<int>(m_nodes.size()); }
    /// Node i, or null outside 0..count - 1.
    const CCampaignNode* GetNode(int i) const;

    /// The `place`-th (from 0) double-quoted string of `text`, cut to 1023 characters; empty when the
    /// text has fewer. An unclosed quote runs to the end of the text.
    static std::string QuotedString(std::string_view text, int place);
    /// The OR of the opponent bits of the letters.
    static std::uint32_t OpponentMask(std::string_view letters);

    /// Number of definitions alive.
    static int LiveCount() { return s_live; }

private:
    bool m_loaded = false;
    std::int32_t m_value = -1;
    std::vector<std::unique_ptr<CCampaignNode>> m_nodes;
    std::string m_failure;
    static int s_live;
};

} // namespace zentrix
