#pragma once

#include "foundation/base/ManagerInterface.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace zentrix {

class CAppSettings;
class CAssetMan;
class CCampaignNode;
struct CRaceSetup;

/// The player's way through the campaign: the nodes of its definition with their states (locked,
/// current, done) restored from the stored progress, the palette items that nodes not yet done keep
/// locked, and the current node. The progress is the settings value "Campaign_Progress", the number of
/// nodes completed; it is never lowered.
class CCampaignMan : public CManagerInterface {
public:
    static constexpr const char* kProgressSetting = "Campaign_Progress";
    static constexpr int kMaxLockedItems = 100;
    /// The folder slot of the campaign's tracks.
    static constexpr int kTrackFolder = 4;

    /// A campaign read through `assets` with its progress in `settings` (either may be null: no
    /// definition, or no progress kept).
    CCampaignMan(CAssetMan* assets, CAppSettings* settings);
    ~CCampaignMan() override;
    CCampaignMan(const CCampaignMan&) = delete;
    CCampaignMan& operator=(const CCampaignMan&) = delete;

    /// Reads the definition (asset 4), takes its nodes and locked items and sets the node states from
    /// the progress; 1 when the definition cannot be read (then no node exists and nothing is locked, and
    /// GetStartFailure names the asset and the field).
    int StartManager() override;
    /// Why the last start failed; empty after one that succeeded.
    const std::string& GetStartFailure() const { return m_startFailure; }
    /// Forgets the nodes; 0.
    int StopManager() override;

    /// The node being played: -1 (none) or a node index.
    int GetCurrentNode() const { return m_currentNode; }
    /// Makes node i current; -1 clears it; any other index outside the nodes is refused.
    void SetCurrentNode(int i);
    /// Stores node i's state (a node outside the nodes is refused); a node done raises the progress past
    /// it and frees the item it kept locked.
    void SetNodeState(int i, int state);
    /// Node i's state, -1 outside the nodes.
    int GetNodeState(int i) const;
    /// Nodes below the progress done, the node at it current, the rest locked.
    void UpdateNodeStates();
    /// Whether palette item `index` of `group` is still locked, and where it stands in the table.
    bool FindLockedItem(int index, int group, int& position) const;
    /// The stored progress: 0 when absent, and a negative value counts as 0.
    int GetProgress() const;
    /// How far the campaign has unlocked the game: always 0, which callers take as no restriction.
    int GetUnlockStage() const { return 0; }

    /// Copies node i's race (track in the campaign folder, laps, world) into `setup`; nothing for an
    /// index outside the nodes.
    void CopyNodeSetup(int i, CRaceSetup& setup) const;

    int GetNodeCount() const { return m_nodeCount; }
    /// Node i, or null outside the nodes.
    const CCampaignNode* GetNode(int i) const;
    /// The locked-item table: 100 entries, -1 empty.
    const std::array<int, kMaxLockedItems>& GetLockedItems() const { return m_lockedItems; }

private:
    bool IsNode(int i) const { return i >= 0 && i < m_nodeCount; }
    /// Raises the stored progress to `progress`; a lower value is not stored.
    void StoreProgress(int progress);

    CAssetMan* m_assets;
    CAppSettings* m_settings;
    int m_nodeCount = 0;
    std::vector<std::unique_ptr<CCampaignNode>> m_nodes;
    int m_currentNode = -1;
    std::array<int, kMaxLockedItems> m_lockedItems;
    std::string m_startFailure;
};

} // namespace zentrix
