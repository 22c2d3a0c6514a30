#pragma once

#include "events/Effect.h"
#include "foundation/math/Vector.h"

#include <cstdint>
#include <vector>

namespace zentrix {

/// Makes one object of each of "Objects" near the owner when fired, at most once per countdown of
/// "TimeDelay" plus up to "TimeDelayVar" ms, with a place, speed, heading and life from the script, each
/// part optionally random. The targets are not used.
class CSpawnEffect final : public CEffect {
public:
    /// Left out, the life is 10000 ms, its variation 1000 ms and the delay 1000 ms; an Orientation of
    /// zero length keeps (0, 1, 0).
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    void Fire(std::vector<CWorldObject*> targets) override;
    /// Runs the countdown down (also below 0).
    void Update(unsigned ms) override;

    /// Where an object is placed: the owner's position plus "Position" turned with the owner's heading;
    /// a random axis lies anywhere within "Position"'s value around the owner, along the world axis.
    CVector ComputeSpawnPosition() const;
    std::int32_t GetCountdown() const { return m_countdown; }

private:
    std::vector<std::int32_t> m_objects;
    CVector m_position;
    CVector m_velocity;
    bool m_randomPosition[3] = {false, false, false};
    bool m_randomVelocity[3] = {false, false, false};
    bool m_randomOrientation = false;
    CVector m_orientation{0.0f, 1.0f, 0.0f};
    std::int32_t m_lifeTime = 10000;
    std::uint32_t m_lifeTimeVariation = 1000;
    std::uint32_t m_timeDelay = 1000;
    std::int32_t m_countdown = 0;
    std::uint32_t m_timeDelayVariation = 15000;
    std::uint32_t m_onTrackOnly = 0;
};

} // namespace zentrix
