#include "race/CampaignAsset.h"

#include "app/RaceSetup.h"
#include "foundation/data/DataFile.h"
#include "platform/system/DebugOutput.h"
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
    auto fail = [](const std::string& why) {
        plat::system::DebugOutput("campaign (asset 4): " + why);
        return false;
    };
    // An unread record would answer every field with its default: no campaign rather than a made-up one.
    if (!record || !record->IsLoaded())
        return fail("no data record");
    std::int32_t value = -1, count = 0;
    if (!record->GetInt(kFieldValue, value) || !record->GetInt(kFieldNodeCount, count))
        return fail("fields 280 and 281 cannot be read");
    // Beyond 40 nodes the text fields of a group would run into the int fields after them.
    if (count > kMaxNodes)
        return fail("a node count of " + std::to_string(count) +
                    ", more than the 40 the fields have room for");

    std::vector<std::unique_ptr<CCampaignNode>> nodes;
    char tracks[kTextSize] = {};
    char opponents[kTextSize] = {};
    for (int i = 0; i < count; ++i) {
        const int group = i / kNodesPerGroup, place = i % kNodesPerGroup;
        CCampaignNode::SRecord node;
        if (place == 0 && (!record->GetText(kFieldTracks + group, tracks, sizeof tracks) ||
                           !record->GetText(kFieldOpponents + group, opponents, sizeof opponents)))
            return fail("the texts of nodes " + std::to_string(i) + " on cannot be read");
        const std::string track = QuotedString(tracks, place);
        std::memcpy(node.trackFile, track.c_str(), track.size() + 1);
        node.opponentMask = OpponentMask(QuotedString(opponents, place));
        if (!record->GetInt(kFieldLaps, node.laps, i) || !record->GetInt(kFieldWorlds, node.world, i) ||
            !record->GetInt(kFieldLockedItems, node.lockedItem, i))
            return fail("the int fields of node " + std::to_string(i) + " cannot be read");
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
