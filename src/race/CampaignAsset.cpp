#include "race/CampaignAsset.h"

#include "app/RaceSetup.h"
#include "foundation/data/DataFile.h"
#include "race/CampaignNode.h"

#include <algorithm>
#include <cstring>

namespace zentrix {

int CCampaignAsset::s_live = 0;

CCampaignAsset::CCampaignAsset() {
    ++s_live;
}

CCampaignAsset::~CCampaignAsset() {
    --s_live;
}

const CCampaignNode* CCampaignAsset::GetNode(int i) const {
    return i >= 0 && i < GetNodeCount() ? m_nodes[static_cast<std::size_t>(i)].get() : nullptr;
}

std::string CCampaignAsset::QuotedString(std::string_view text, int place) {
    if (place < 0)
        return {};
    std::size_t pos = 0;
    for (int i = 0;; ++i) {
        const std::size_t open = text.find('"', pos);
        if (open == std::string_view::npos)
            return {};
        const std::size_t close = text.find('"', open + 1);
        if (i == place) {
            const std::string_view inside = text.substr(
                open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
            return std::string(inside.substr(0, kTextSize - 1));
        }
        if (close == std::string_view::npos)
            return {};
        pos = close + 1;
    }
}

std::uint32_t CCampaignAsset::OpponentMask(std::string_view letters) {
    std::uint32_t mask = 0;
    for (char letter : letters)
        mask |= static_cast<std::uint32_t>(OpponentBitFromLetter(letter));
    return mask;
}

bool CCampaignAsset::Load(const CDataFile* record) {
    m_loaded = false;
    m_value = -1;
    m_nodes.clear();
    m_failure.clear();
    const std::string asset = "asset " + std::to_string(kAssetId);
    auto fail = [this, &asset](int field, int element, const std::string& why) {
        m_failure = asset;
        if (field >= 0)
            m_failure += ", field " + std::to_string(field);
        if (element >= 0)
            m_failure += " element " + std::to_string(element);
        m_failure += ": " + why;
        return false;
    };
    // An unread record would answer every field with its default: no campaign rather than a made-up one.
    if (!record)
        return fail(-1, -1, "missing");
    if (!record->IsLoaded())
        return fail(-1, -1, "its data cannot be read");
    std::int32_t value = -1, count = 0;
    if (!record->GetInt(kFieldValue, value))
        return fail(kFieldValue, -1, "cannot be read");
    if (!record->GetInt(kFieldNodeCount, count))
        return fail(kFieldNodeCount, -1, "cannot be read");
    // Beyond 40 nodes the text fields of a group would run into the int fields after them.
    if (count > kMaxNodes)
        return fail(kFieldNodeCount, -1,
                    "a node count of " + std::to_string(count) +
                        ", more than the 40 the fields have room for");

    std::vector<std::unique_ptr<CCampaignNode>> nodes;
    char tracks[kTextSize] = {};
    char opponents[kTextSize] = {};
    for (int i = 0; i < count; ++i) {
        const int group = i / kNodesPerGroup, place = i % kNodesPerGroup;
        CCampaignNode::SRecord node;
        if (place == 0 && !record->GetText(kFieldTracks + group, tracks, sizeof tracks))
            return fail(kFieldTracks + group, -1, "cannot be read");
        if (place == 0 && !record->GetText(kFieldOpponents + group, opponents, sizeof opponents))
            return fail(kFieldOpponents + group, -1, "cannot be read");
        const std::string track = QuotedString(tracks, place);
        std::memcpy(node.trackFile, track.c_str(), track.size() + 1);
        node.opponentMask = OpponentMask(QuotedString(opponents, place));
        const std::pair<int, std::int32_t*> ints[] = {
            {kFieldLaps, &node.laps}, {kFieldWorlds, &node.world}, {kFieldLockedItems, &node.lockedItem}};
        for (const auto& [field, out] : ints)
            if (!record->GetInt(field, *out, i))
                return fail(field, i, "cannot be read");
        auto made = std::make_unique<CCampaignNode>();
        made->SetRecord(node);
        nodes.push_back(std::move(made));
    }
    m_value = value;
    m_nodes = std::move(nodes);
    m_loaded = true;
    return true;
}

} // namespace zentrix
