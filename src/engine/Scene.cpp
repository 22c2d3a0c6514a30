#include "engine/Scene.h"

#include "engine/Entity.h"
#include "foundation/base/Messages.h"

namespace zentrix {

namespace {

bool IsRootIndex(int index) {
    return index >= 0 && index < CScene::kRoots;
}

const DecalList& EmptyList() {
    static const DecalList empty;
    return empty;
}

} // namespace

CScene::CScene() {
    m_roots[0] = std::make_unique<CEntity>();
    m_lightStates.fill(kUndefined);
}

CScene::~CScene() = default;

CEntity* CScene::GetRoot(int index) const {
    return IsRootIndex(index) ? m_roots[static_cast<std::size_t>(index)].get() : nullptr;
}

void CScene::SetRoot(int index, std::unique_ptr<CEntity> root) {
    if (IsRootIndex(index))
        m_roots[static_cast<std::size_t>(index)] = std::move(root);
}

void CScene::AddToDecalList(CGeometryBuffer* item, int list) {
    if (IsRootIndex(list) && item)
        m_decals[static_cast<std::size_t>(list)].push_front(item);
}

void CScene::RemoveFromDecalList(CGeometryBuffer* item, int list) {
    if (!IsRootIndex(list))
        return;
    DecalList& decals = m_decals[static_cast<std::size_t>(list)];
    for (auto before = decals.before_begin(), it = decals.begin(); it != decals.end(); before = it++)
        if (*it == item) {
            decals.erase_after(before);
            return;
        }
    TraceMessage("Decal item not in list %d", list);
}

const DecalList& CScene::GetDecalList(int list) const {
    return IsRootIndex(list) ? m_decals[static_cast<std::size_t>(list)] : EmptyList();
}

bool CScene::IsDefined(int index, const char* operation) const {
    // Indices come back from callers, -1 among them when no slot was free.
    if (index < 0 || index >= kLightSlots || m_lightStates[static_cast<std::size_t>(index)] == kUndefined) {
        TraceMessage("%s: light %d is not defined", operation, index);
        return false;
    }
    return true;
}

bool CScene::GetLight(int index, plat::raster::Light* out) const {
    if (index < 0 || index >= kLightSlots || m_lightStates[static_cast<std::size_t>(index)] == kUndefined)
        return false;
    if (out)
        *out = m_lights[static_cast<std::size_t>(index)];
    return true;
}

void CScene::SetLight(int index, const plat::raster::Light& light) {
    if (index < 0 || index >= kLightSlots) {
        TraceMessage("SetLight: no light slot %d", index);
        return;
    }
    const auto i = static_cast<std::size_t>(index);
    if (m_lightStates[i] == kUndefined)
        m_lightStates[i] = kOff;
    m_lights[i] = light;
}

bool CScene::EnableLight(int index) {
    if (!IsDefined(index, "EnableLight"))
        return false;
    const auto i = static_cast<std::size_t>(index);
    if (m_lightStates[i] == kOn)
        return true;
    if (m_lightsOn >= kMaxLightsOn)
        return false;
    m_lightStates[i] = kOn;
    ++m_lightsOn;
    return true;
}

void CScene::DisableLight(int index) {
    if (!IsDefined(index, "DisableLight"))
        return;
    const auto i = static_cast<std::size_t>(index);
    if (m_lightStates[i] == kOn) {
        m_lightStates[i] = kOff;
        --m_lightsOn;
    }
}

bool CScene::IsLightEnabled(int index) const {
    return index >= 0 && index < kLightSlots && m_lightStates[static_cast<std::size_t>(index)] == kOn;
}

void CScene::RemoveLight(int index) {
    if (!IsDefined(index, "RemoveLight"))
        return;
    DisableLight(index);
    m_lightStates[static_cast<std::size_t>(index)] = kUndefined;
}

} // namespace zentrix
