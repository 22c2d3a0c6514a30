#pragma once

#include "race/ComputerDriverWorld.h"

#include <unordered_map>

namespace zentrix {

/// The game's world as the computer drivers see it, through the world registry and the race world.
class CWorldComputerDriverWorld : public IComputerDriverWorld {
public:
    /// The one instance the drivers use unless they are given another.
    static CWorldComputerDriverWorld& Instance();

    CAssetMan* GetAssetMan() const override;
    int GetRaceState() const override;
    void GetPickups(std::vector<SPickup>& out) const override;
    bool FindPickup(const void* id, CVector& position) const override;
    void GetSplodges(std::vector<CVector>& out) const override;

private:
    /// The object kind of a type id, kept per asset manager (kinds are fixed by the data).
    int ObjectKind(CAssetMan& assets, int typeId) const;

    mutable const CAssetMan* m_kindsOf = nullptr;
    mutable std::unordered_map<int, int> m_kinds;
};

} // namespace zentrix
