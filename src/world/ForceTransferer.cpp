#include "world/ForceTransferer.h"

#include "world/ActiveWorldObject.h"
#include "world/CollisionRecorder.h"
#include "world/Force.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace zentrix {

namespace {

/// The kind of contact two active objects record when their volumes meet.
constexpr std::int32_t kPairContact = 5;

/// Trace levels: the measured separation, then the decision taken on it.
constexpr int kFigureTrace = 1;
constexpr int kDecisionTrace = 2;

void Trace(int level, const std::string& text) {
    if (IWorldServices* services = CWorldMan::GetServices())
        services->Trace(level, text);
}

} // namespace

bool CForceTransferer::Init(CActiveWorldObject* owner, CCollisionRecorder* recorder, float threshold) {
    Reset();
    m_owner = owner;
    m_recorder = recorder;
    m_threshold = threshold;
    m_initialised = true;
    return true;
}

void CForceTransferer::Reset() {
    m_initialised = false;
    m_threshold = 0.0f;
    m_owner = nullptr;
    m_recorder = nullptr;
    m_partners.fill(nullptr);
}

void CForceTransferer::Update() {
    PrunePartners();
    if (!m_recorder)
        return;
    CCollisionLog::TIndexList indices{};
    std::uint32_t n = 0;
    m_recorder->FindAllPreviousContacts(kPairContact, indices, n);
    // Partners pass their forces on only in a step that follows a touch.
    if (n == 0)
        return;
    for (std::uint32_t k = 0; k < n; ++k) {
        SContactEntry entry;
        if (!m_recorder->GetPreviousContact(indices[k], entry) || !entry.other || entry.kind != kPairContact)
            continue;
        if (auto* other = dynamic_cast<CActiveWorldObject*>(entry.other); other && IsInRange(*other))
            AddPartner(other);
    }
    Transfer();
}

bool CForceTransferer::IsInRange(const CWorldObject& object) const {
    if (object.IsDead() || !m_owner)
        return false;
    const CVector d = object.Position() - m_owner->Position();
    const float separation = d.Dot(d);
    char figure[96];
    std::snprintf(figure, sizeof figure, "Separation Sqd. Distance: %.4f", static_cast<double>(separation));
    Trace(kFigureTrace, figure);
    const bool inRange = separation < m_threshold;
    Trace(kDecisionTrace, inRange ? "Transfer required." : "Transfer NOT required.");
    return inRange;
}

void CForceTransferer::AddPartner(CActiveWorldObject* object) {
    if (!object || object->IsDead() || HasPartner(object))
        return;
    auto slot = std::find(m_partners.begin(), m_partners.end(), nullptr);
    if (slot != m_partners.end())
        *slot = object;
}

void CForceTransferer::PrunePartners() {
    for (CActiveWorldObject*& partner : m_partners)
        if (partner && !IsInRange(*partner))
            partner = nullptr;
}

void CForceTransferer::Transfer() {
    CVector sum;
    bool any = false;
    for (CActiveWorldObject* partner : m_partners) {
        if (!partner)
            continue;
        CVector m = partner->GetMeanLastForce();
        m.y = 0.0f;
        sum += m;
        any = true;
    }
    if (any && m_owner)
        m_owner->DampAndAddForce(CForce(sum, CForce::kExternal), kDamping);
}

void CForceTransferer::ForgetPartner(const CWorldObject* object) {
    for (CActiveWorldObject*& partner : m_partners)
        if (partner == object)
            partner = nullptr;
}

int CForceTransferer::CountPartners() const {
    return static_cast<int>(std::count_if(m_partners.begin(), m_partners.end(),
                                          [](const CActiveWorldObject* p) { return p != nullptr; }));
}

bool CForceTransferer::HasPartner(const CWorldObject* object) const {
    return std::find(m_partners.begin(), m_partners.end(), object) != m_partners.end();
}

} // namespace zentrix
