#include "race/CampaignMan.h"

#include "app/RaceSetup.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/base/AppSettings.h"
#include "race/CampaignAsset.h"
#include "race/CampaignNode.h"

#include <algorithm>

namespace zentrix {

CCampaignMan::CCampaignMan(CAssetMan* assets, CAppSettings* settings)
    : m_assets(assets), m_settings(settings) {
    m_lockedItems.fill(-1);
}

CCampaignMan::~CCampaignMan() = default;

int CCampaignMan::StartManager() {
    if (StopManager() != 0)
        return 1;
    m_lockedItems.fill(-1);
    CCampaignAsset asset;
    if (!asset.Load(m_assets ? m_assets->GetDataFile(CCampaignAsset::kAssetId) : nullptr)) {
        StopManager();
        m_startFailure = asset.GetFailure();
        return 1;
    }
    m_startFailure.clear();
    std::size_t locked = 0;
    for (int i = 0; i < asset.GetNodeCount(); ++i) {
        const CCampaignNode* node = asset.GetNode(i);
        m_nodes.push_back(std::make_unique<CCampaignNode>(*node));
        const int item = node->GetRecord().lockedItem;
        if (item != -1 && locked < m_lockedItems.size())
            m_lockedItems[locked++] = item;
    }
    m_nodeCount = static_cast<int>(m_nodes.size());
    m_started = true;
    UpdateNodeStates();
    return 0;
}

int CCampaignMan::StopManager() {
    m_nodes.clear();
    m_nodeCount = 0;
    m_currentNode = -1;
    m_started = false;
    return 0;
}

void CCampaignMan::SetCurrentNode(int i) {
    if (i == -1 || IsNode(i))
        m_currentNode = i;
}

void CCampaignMan::SetNodeState(int i, int state) {
    if (!IsNode(i))
        return;
    CCampaignNode& node = *m_nodes[static_cast<std::size_t>(i)];
    node.SetState(state);
    if (state != CCampaignNode::kDone)
        return;
    if (i >= GetProgress())
        StoreProgress(i + 1);
    const int item = node.GetRecord().lockedItem;
    if (item == -1)
        return;
    auto entry = std::find(m_lockedItems.begin(), m_lockedItems.end(), item);
    if (entry != m_lockedItems.end())
        *entry = -1;
}

int CCampaignMan::GetNodeState(int i) const {
    return IsNode(i) ? m_nodes[static_cast<std::size_t>(i)]->GetState() : -1;
}

void CCampaignMan::UpdateNodeStates() {
    const int progress = GetProgress();
    for (int i = 0; i < m_nodeCount; ++i)
        SetNodeState(i, i < progress    ? CCampaignNode::kDone
                        : i == progress ? CCampaignNode::kCurrent
                                        : CCampaignNode::kLocked);
}

bool CCampaignMan::FindLockedItem(int index, int group, int& position) const {
    for (std::size_t i = 0; i < m_lockedItems.size(); ++i) {
        const int entry = m_lockedItems[i];
        if (entry != -1 && entry % 100 == index && entry / 100 == group) {
            position = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

int CCampaignMan::GetProgress() const {
    int progress = 0;
    if (!m_settings || !m_settings->GetInt(kProgressSetting, progress))
        return 0;
    // Anyone can edit the settings file: a negative count of completed nodes is none.
    return std::max(progress, 0);
}

void CCampaignMan::StoreProgress(int progress) {
    if (m_settings && progress > GetProgress())
        m_settings->SetInt(kProgressSetting, progress);
}

void CCampaignMan::CopyNodeSetup(int i, CRaceSetup& setup) const {
    const CCampaignNode* node = GetNode(i);
    if (!node)
        return;
    const CCampaignNode::SRecord& record = node->GetRecord();
    SetRaceTrackFile(setup, record.trackFile);
    setup.trackDirectory = kTrackFolder;
    setup.laps = record.laps;
    setup.world = record.world;
}

const CCampaignNode* CCampaignMan::GetNode(int i) const {
    return IsNode(i) ? m_nodes[static_cast<std::size_t>(i)].get() : nullptr;
}

} // namespace zentrix
