#include "world/WorldObject.h"

#include "foundation/assets/AssetMan.h"
#include "foundation/assets/WorldObjectAsset.h"
#include "foundation/math/Rotation.h"
#include "render/Animator.h"
#include "render/EngineMan.h"
#include "render/ParticleSystem.h"
#include "render/ShadowMan.h"
#include "render/SpriteSet.h"
#include "render/VornMesh.h"
#include "render/assets/MeshCache.h"
#include "render/assets/TextureAsset.h"
#include "world/BoundingBox.h"
#include "world/BoundingSphere.h"
#include "world/CollisionRecorder.h"
#include "world/EventControllerLink.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

namespace zentrix {

namespace {

int g_liveObjects = 0;

constexpr std::size_t kTextSize = 1024;
const CVector kNowhere(-1000.0f, -1000.0f, -1000.0f);

CAssetMan* Assets() {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetAssetMan() : nullptr;
}

CEngineMan* Engine() {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetEngineMan() : nullptr;
}

std::string ReadText(int assetId, int dataId) {
    char text[kTextSize] = {};
    if (CAssetMan* assets = Assets(); !assets || !assets->GetString(assetId, dataId, text, sizeof text))
        return {};
    return text;
}

void Log(const std::string& text) {
    if (IWorldServices* services = CWorldMan::GetServices())
        services->Log(CWorldObject::kLogChannel, text);
}

bool IsFinite(const CVector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool IsZero(const CVector& v) {
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

/// An up vector made perpendicular to the direction. Where the up vector is zero or parallel to the
/// direction (a car nose-down) it is first replaced, so the frame never gets zero rows.
CVector Orthogonalised(const CVector& direction, CVector up) {
    if (IsZero(up.Cross(direction))) {
        const bool vertical = direction.x == 0.0f && direction.z == 0.0f;
        up = vertical ? CVector(0.0f, 0.0f, 1.0f) : CVector(0.0f, 1.0f, 0.0f);
    }
    if (up.Dot(direction) != 0.0f)
        up = direction.Cross(up.Cross(direction));
    return up;
}

void Identity(float* out) {
    std::fill(out, out + 16, 0.0f);
    out[0] = out[5] = out[10] = out[15] = 1.0f;
}

} // namespace

int CWorldObject::TypeIdOf(int assetId) {
    // Older asset ids of some base plates and ground pieces, and the type each stands for now.
    struct SOldId {
        int oldId, typeId;
    };
    static constexpr SOldId kOldIds[] = {
        {1109, 17292}, {1194, 17292}, {1195, 17294}, {1197, 17294}, {1196, 17295}, {1198, 17295},
        {2100, 16292}, {2117, 16292}, {2113, 16294}, {2118, 16294}, {2114, 16295}, {2119, 16295},
        {4101, 18292}, {4200, 18292}, {4207, 18294}, {4209, 18294}, {4206, 18295}, {4208, 18295},
        {3117, 15292}, {3170, 15292}, {3171, 15294}, {3173, 15294}, {3172, 15295}, {3176, 15295},
    };
    for (const SOldId& old : kOldIds)
        if (old.oldId == assetId)
            return old.typeId;
    return assetId;
}

CWorldObject::CWorldObject(int assetId, int lifeMs, CWorldObject* parent, int childIndex)
    : m_typeId(TypeIdOf(assetId)), m_parent(parent), m_childIndex(childIndex), m_lifeTime(lifeMs) {
    ++g_liveObjects;
}

CWorldObject::~CWorldObject() {
    CWorldObject::Destroy();
    m_typeId = 0;
    m_position = kNowhere;
    m_children.clear();
    m_spriteSet.reset();
    m_mesh.reset();
    m_animator.reset();
    m_pause = 0;
    m_created = false;
    // Whatever still points at the object goes with it, whichever way it is deleted (a child is not in
    // the world's lists).
    CParticleSystem::DestroyByOwner(this);
    if (CShadowMan* shadows = CShadowMan::GetInstance())
        shadows->RemoveShadowFor(this);
    --g_liveObjects;
}

int CWorldObject::LiveCount() {
    return g_liveObjects;
}

bool CWorldObject::Create() {
    CWorldObject::Destroy();
    CAssetMan* assets = Assets();
    m_asset = assets ? assets->GetWorldObjectAsset(m_typeId) : nullptr;
    m_position = kNowhere;
    m_direction = CVector(0.0f, 0.0f, 1.0f);
    m_up = CVector(0.0f, 1.0f, 0.0f);
    LoadAnimation();
    SetMesh(GetAssetId());
    if (m_parent && m_parent->m_mesh)
        m_parent->m_mesh->AddChild(m_mesh.get());
    float up[3] = {0.0f, 1.0f, 0.0f};
    m_mesh->GetOrientationRelative(m_parent ? m_parent->m_mesh.get() : nullptr, nullptr, up);
    m_up = CVector(up[0], up[1], up[2]);
    m_up.SafeNormalise();
    m_pause = 0;
    m_created = true;

    const SWorldLinks& links = CWorldMan::GetLinks();
    if (links.makeEventController)
        m_events = links.makeEventController(*this);
    if (m_events)
        m_events->LoadScript(*this);
    m_recorder = std::make_unique<CCollisionRecorder>();
    m_recorder->Init();
    if (m_asset) {
        const int count = std::min(m_asset->GetBoundingVolumeCount(), kMaxBoundingVolumes);
        for (int i = 0; i < count; ++i) {
            SBoundingVolumeDesc entry;
            m_asset->GetBoundingVolume(i, entry);
            std::unique_ptr<CBoundingVolume> volume;
            if (entry.type == 0)
                volume = std::make_unique<CBoundingSphere>();
            else if (entry.type == 1)
                volume = std::make_unique<CBoundingBox>();
            // A volume whose sizes it cannot have would meet nothing: it is not kept.
            if (!volume || !volume->Create(CBoundingVolumeDesc(entry)))
                continue;
            // Placed and turned with the object from the start: a volume that never saw an orientation
            // would turn its offset and corners by an empty frame, as long as the object does not turn.
            volume->SetCentre(m_position);
            volume->SetOrientation(m_direction, m_up);
            m_volumes.push_back(std::move(volume));
        }
    }
    m_collisionKind = kCollisionTrack;
    m_mesh->ApplySceneLighting();
    return true;
}

void CWorldObject::LoadAnimation() {
    std::string text = ReadText(m_typeId, kFieldAnimation);
    m_animator.reset();
    if (text.empty())
        return;
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    IWorldServices* services = CWorldMan::GetServices();
    m_animator = CAnimator::Build(text, services ? services->GetAnimTextures() : nullptr);
    if (m_animator)
        m_animator->StartAnim(0);
    else
        LogProblem("Animation loading failure");
}

void CWorldObject::LogProblem(const std::string& message) const {
    Log(message + " - From the world object " + ReadText(m_typeId, kFieldName));
}

void CWorldObject::Destroy() {
    m_volumes.clear();
    m_events.reset();
    m_recorder.reset();
    m_collisionKind = -1;
}

int CWorldObject::GetAssetId() const {
    return m_asset ? m_asset->GetAssetId() : -1;
}

bool CWorldObject::SetMesh(int meshId) {
    // Child objects' meshes hang under this mesh but belong to the children: they are moved to the new
    // mesh rather than deleted with the old one.
    for (const auto& child : m_children)
        if (child->m_mesh)
            CEntity::Detach(child->m_mesh.get());
    m_spriteSet.reset();
    m_mesh.reset();

    CAssetMan* assets = Assets();
    if (meshId >= 1 && assets && assets->GetMesh(meshId))
        m_mesh.reset(assets->CloneCachedMesh(meshId));
    if (m_mesh && m_asset) {
        const CVector& offset = m_asset->GetMeshOffset();
        const CVector& rotation = m_asset->GetMeshRotation();
        const float scale = m_asset->GetMeshScale().x;
        // The record's values are data: one that is not a number would put NaN into every vertex.
        if (!IsFinite(offset) || !IsFinite(rotation) || !std::isfinite(scale)) {
            Log("Mesh placement is not a number - From the world object " + ReadText(m_typeId, kFieldName));
        } else {
            if (!IsZero(offset))
                CMeshCache::TranslateVertices(m_mesh.get(), offset.x, offset.y, offset.z);
            if (!IsZero(rotation))
                CMeshCache::RotateVertices(m_mesh.get(), rotation.x, rotation.y, rotation.z);
            if (scale != 0.0f && scale != 1.0f)
                CMeshCache::ScaleVertices(m_mesh.get(), scale);
        }
    }
    if (!m_mesh)
        m_mesh = std::make_unique<CVornMesh>();

    float position[3];
    float direction[3];
    m_mesh->GetPosition(position);
    m_mesh->GetDirection(direction);
    m_position = CVector(position[0], position[1], position[2]);
    m_direction = CVector(direction[0], direction[1], direction[2]);

    const std::string name = ReadText(m_typeId, kFieldName);
    m_mesh->SetName(name.c_str());
    if (m_parent && m_parent->m_mesh)
        m_parent->m_mesh->AddChild(m_mesh.get());
    else if (CFrame* root = CWorldMan::GetWorldFrame())
        root->AddChild(m_mesh.get());
    for (const auto& child : m_children)
        if (child->m_mesh)
            m_mesh->AddChild(child->m_mesh.get());
    m_skin = -1;
    if (m_animator)
        m_animator->BindFrames(m_mesh.get());

    IWorldServices* services = CWorldMan::GetServices();
    IRenderAssets* renderAssets = services ? services->GetRenderAssets() : nullptr;
    CEngineMan* engine = Engine();
    if (renderAssets && engine && engine->GetScene())
        m_spriteSet = CSpriteSet::Create(m_typeId, *m_mesh, *renderAssets, *engine->GetScene());

    int shadowTexture = -1;
    if (CShadowMan* shadows = CShadowMan::GetInstance();
        shadows && assets && assets->GetInt(m_typeId, kFieldShadowTexture, shadowTexture) &&
        shadowTexture != -1) {
        // One shadow per object, whatever mesh it had before.
        shadows->RemoveShadowFor(this);
        shadows->CreateShadowFor(this);
    }
    return true;
}

void CWorldObject::SetPositionVector(const CVector& position) {
    if (position == m_position)
        return;
    m_position = position;
    if (m_mesh) {
        const float p[3] = {position.x, position.y, position.z};
        CEngineMan* engine = Engine();
        const CEntity* reference =
            m_parent ? m_parent->m_mesh.get() : (engine ? engine->GetSceneRoot() : nullptr);
        m_mesh->SetPositionRelative(reference, p);
    }
    for (const auto& volume : m_volumes)
        volume->SetCentre(position.x, position.y, position.z);
    if (m_spriteSet)
        m_spriteSet->Update();
}

void CWorldObject::SetPosition(float x, float y, float z) {
    SetPositionVector(CVector(x, y, z));
}

void CWorldObject::SetOrientation(const CVector& direction, const CVector& up) {
    if (direction == m_direction && up == m_up)
        return;
    // A zero direction says nothing about where to look: the object keeps its own.
    const CVector d = IsZero(direction) ? m_direction : direction;
    const CVector u = Orthogonalised(d, up);
    if (d == m_direction && u == m_up)
        return;
    m_direction = d;
    m_up = u;
    if (m_mesh) {
        if (m_parent)
            m_mesh->SetOrientationRelative(m_parent->m_mesh.get(), d.x, d.y, d.z, u.x, u.y, u.z);
        else
            m_mesh->SetOrientation(d.x, d.y, d.z, u.x, u.y, u.z);
    }
    if (m_spriteSet)
        m_spriteSet->Update();
    // The volumes build their own frame from the caller's vectors; only a frame that cannot be built
    // from them takes the mended ones.
    const bool usable = !IsZero(direction) && !IsZero(up.Cross(direction));
    for (const auto& volume : m_volumes)
        volume->SetOrientation(usable ? direction : d, usable ? up : u);
}

void CWorldObject::SetDirectionVector(const CVector& direction) {
    SetOrientation(direction, m_up);
}

void CWorldObject::SetDirection(float x, float y, float z) {
    SetOrientation(CVector(x, y, z), m_up);
}

void CWorldObject::Rotate(const CVector& axis, float angle) {
    CVector direction;
    CVector up;
    RotateVectorAboutAxis(m_direction, direction, axis, angle);
    RotateVectorAboutAxis(m_up, up, axis, angle);
    SetOrientation(direction, up);
}

void CWorldObject::GetWorldMatrix(float* out) const {
    if (m_mesh) {
        m_mesh->GetWorldMatrix(out);
        return;
    }
    Identity(out);
    out[12] = m_position.x;
    out[13] = m_position.y;
    out[14] = m_position.z;
}

void CWorldObject::GetWorldRotation(float* out) const {
    if (m_mesh)
        m_mesh->GetWorldRotation(out);
    else
        Identity(out);
}

void CWorldObject::Update(unsigned ms) {
    UpdateHighlight(ms);
    if (m_lifeTime > 0) {
        m_lifeElapsed += ms;
        if (m_lifeElapsed > static_cast<std::uint32_t>(m_lifeTime))
            m_dead = true;
    }
    if (m_animator && m_animPlaying && m_mesh) {
        IWorldServices* services = CWorldMan::GetServices();
        const float frame = m_animator->Update(services ? services->GetFrameFactor() : 1.0f);
        m_mesh->SetAnimFrame(frame, true);
    }
    if (m_events)
        m_events->Update(ms);
    if (m_pause != 0) {
        if (m_pause != kPausedWhileTouched)
            m_pause = ms < m_pause ? m_pause - ms : kPausedWhileTouched;
        UpdateCollisionPause();
    }
    for (const auto& child : m_children)
        child->Update(ms);
    // The sprites follow the mesh also when a parent moved it.
    if (m_spriteSet)
        m_spriteSet->Update();
}

void CWorldObject::UpdateCollisionPause() {
    if (m_pause != kPausedWhileTouched)
        return;
    // The touch test sees the object unpaused, or its own pause would make it meet nothing.
    m_pause = 0;
    if (CWorldMan::IsTouchingActiveObject(*this))
        m_pause = kPausedWhileTouched;
}

void CWorldObject::UpdateHighlight(unsigned ms) {
    if (m_highlightMode != kHighlightFlash1 && m_highlightMode != kHighlightFlash2)
        return;
    m_highlightTimer -= static_cast<int>(std::min<unsigned>(ms, kFlashPeriod + 1));
    if (m_highlightTimer < 0)
        m_highlightTimer = kFlashPeriod;
    if (!m_mesh)
        return;
    CEngineMan* engine = Engine();
    if (!m_flashing || !engine) {
        m_mesh->SetVertexLightColour(false, 0.0f, 0.0f, 0.0f);
        return;
    }
    const float t = static_cast<float>(m_highlightTimer);
    const float f = (t <= 1000.0f ? (1000.0f - t) / 1000.0f : (t - 1000.0f) / 1000.0f) * 0.5f;
    const CVector colour =
        (m_highlightMode == kHighlightFlash1 ? engine->GetHighlightFlash1() : engine->GetHighlightFlash2()) *
        (0.5f + f);
    m_mesh->SetVertexLightColour(true, colour.x, colour.y, colour.z);
}

void CWorldObject::SetHighlight(std::uint32_t mode) {
    if (mode == m_highlightMode)
        return;
    m_highlightMode = mode;
    CEngineMan* engine = Engine();
    CVector colour;
    switch (mode) {
    case kHighlightSteady:
        if (engine && m_mesh) {
            colour = engine->GetHighlightSteady();
            m_mesh->SetVertexLightColour(true, colour.x, colour.y, colour.z);
        }
        m_highlightTimer = -1;
        break;
    case kHighlightFlash1:
        if (engine && m_mesh) {
            colour = engine->GetHighlightFlash1();
            m_mesh->SetVertexLightColour(false, 0.0f, 0.0f, 0.0f);
            m_mesh->SetVertexLightColour(true, colour.x, colour.y, colour.z);
        }
        m_highlightTimer = kFlashPeriod;
        m_flashing = true;
        break;
    case kHighlightFlash2:
        if (engine && m_mesh) {
            colour = engine->GetHighlightFlash2();
            m_mesh->SetVertexLightColour(true, colour.x, colour.y, colour.z);
        }
        m_highlightTimer = kFlashPeriod;
        m_flashing = true;
        break;
    case kHighlightNone:
        if (m_mesh)
            m_mesh->SetVertexLightColour(false, 0.0f, 0.0f, 0.0f);
        m_highlightTimer = -1;
        m_flashing = false;
        break;
    default:
        break;
    }
}

void CWorldObject::OnCollision(const CVector& contact, int kind, CWorldObject* other) {
    if (IsZero(contact))
        RecordCollision(CVector(0.0f, 1.0f, 0.0f), 0.0f, kind, other);
    else
        RecordCollision(contact.GetNormalised(), contact.Length(), kind, other);
}

void CWorldObject::RecordCollision(const CVector& direction, float magnitude, int kind, CWorldObject* other) {
    if (m_recorder)
        m_recorder->Record(direction, magnitude, kind, other);
}

bool CWorldObject::ReplaceTexture(int fromId, int toId) {
    CAssetMan* assets = Assets();
    if (!assets || !m_mesh)
        return false;
    CTextureAsset* from = assets->GetTexture(fromId);
    CTextureAsset* to = assets->GetTexture(toId);
    // Without both textures nothing is swapped: a missing one would stand for every untextured face.
    if (!from || !to || !from->GetEngineTexture() || !to->GetEngineTexture())
        return false;
    return m_mesh->ReplaceTexture(from->GetEngineTexture(), to->GetEngineTexture());
}

bool CWorldObject::SetSkin(int skin, int assetId) {
    CAssetMan* assets = Assets();
    if (!assets)
        return false;
    const int newField = kFieldFirstSkin + skin;
    const int currentField = m_skin == -1 ? kFieldDefaultSkin : kFieldFirstSkin + m_skin;
    const int newCount = assets->GetFieldCount(assetId, newField);
    const int currentCount = assets->GetFieldCount(assetId, currentField);
    bool all = true;
    // A place of the new skin that the current one does not fill has nothing to replace: it fails.
    for (int i = 0; i < newCount; ++i) {
        if (i >= currentCount) {
            all = false;
            break;
        }
        int current = -1;
        int next = -1;
        assets->GetInt(assetId, currentField, current, i);
        assets->GetInt(assetId, newField, next, i);
        if (!ReplaceTexture(current, next))
            all = false;
    }
    m_skin = skin;
    return all;
}

void CWorldObject::SelectAnimation(int id) {
    if (m_animator) {
        m_animPlaying = false;
        m_animator->StartAnim(id);
        m_animator->Resume();
    }
    m_animPlaying = true;
}

int CWorldObject::GetCurrentAnimation() const {
    return m_animator ? m_animator->GetCurrentAnimId() : -1;
}

float CWorldObject::GetAnimFrame() const {
    return m_animator ? m_animator->GetCurrentFrame() : -1.0f;
}

bool CWorldObject::AddChild(int assetId, int childIndex) {
    if (GetChild(childIndex))
        return false;
    auto child = std::make_unique<CWorldObject>(assetId, -1, this, childIndex);
    child->Create();
    m_children.push_back(std::move(child));
    return true;
}

CWorldObject* CWorldObject::GetChild(int childIndex) const {
    for (const auto& child : m_children)
        if (child->m_childIndex == childIndex)
            return child.get();
    return nullptr;
}

bool CWorldObject::BoundingVolumesIntersect(const CWorldObject& object, const CWorldObject& other) {
    if (object.IsCollisionPaused() || other.IsCollisionPaused())
        return false;
    for (const auto& b : other.m_volumes)
        for (const auto& a : object.m_volumes)
            if (a && b && CBoundingVolume::Intersects(*a, *b))
                return true;
    return false;
}

bool CWorldObject::VolumesMeet(const CWorldObject& object, CBoundingVolume& volume) {
    for (const auto& own : object.m_volumes)
        if (own && CBoundingVolume::Intersects(*own, volume))
            return true;
    return false;
}

void CWorldObject::ForgetObject(const CWorldObject* object) {
    if (m_recorder)
        m_recorder->ForgetObject(object);
    for (const auto& child : m_children)
        child->ForgetObject(object);
}

} // namespace zentrix
