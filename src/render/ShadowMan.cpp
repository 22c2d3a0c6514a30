#include "render/ShadowMan.h"

#include <algorithm>
#include <cmath>

#include "engine/Entity.h"
#include "engine/Mesh.h"
#include "engine/Texture.h"
#include "foundation/math/VectorHelpers.h"
#include "render/RenderAssets.h"
#include "render/ShadowOwner.h"
#include "render/ShadowWorld.h"
#include "render/VornMesh.h"

namespace zentrix {

namespace {

int g_liveManagers = 0;
int g_liveShadows = 0;
int g_liveSkidMarks = 0;
CShadowMan* g_instance = nullptr;

// Texture flag that has the device blend the picture by its brightness.
constexpr std::uint32_t kTextureTranslucent = 0x4;
constexpr float kSkidMarkSize = 2.0f;

bool IsFinite(float v) {
    return std::isfinite(v);
}

} // namespace

// ---- CShadow ----

CShadowMan::CShadow::CShadow(const SDescription& description, IShadowOwner* owner, IRenderAssets& assets,
                             IShadowWorld& world)
    : m_owner(owner), m_description(description), m_world(world) {
    ++g_liveShadows;
    if (!m_description.valid)
        return;
    m_texture = assets.GetTexture(m_description.textureId);
    if (!m_texture)
        return;
    if (m_blended)
        m_texture->SetFlags(m_texture->GetFlags() | kTextureTranslucent);

    m_mesh = std::make_unique<CVornMesh>();
    m_mesh->SetVertexCount(4);
    MeshVertex* vertices = m_mesh->GetVertices();
    for (int i = 0; i < 4; ++i)
        vertices[i] = MeshVertex{0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f};
    m_mesh->SetFaceCount(2, 0);
    MeshFace* faces = m_mesh->GetFaces(0);
    faces[0] = MeshFace{2, 1, 0, m_texture, 0, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f};
    faces[1] = MeshFace{0, 3, 2, m_texture, 0, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    if (CEntity* frame = m_world.GetWorldFrame())
        frame->AddChild(m_mesh.get());
}

CShadowMan::CShadow::~CShadow() {
    --g_liveShadows;
}

void CShadowMan::CShadow::Update() {
    Lay(0.0f, 0.0f);
}

void CShadowMan::CShadow::Lay(float dx, float dz) {
    if (!m_mesh || !m_owner)
        return;
    const float hx = m_description.sizeX / 2.0f;
    const float hz = m_description.sizeZ / 2.0f;
    const CVector corners[4] = {CVector(-hx + dx, 0.0f, -hz + dz), CVector(hx + dx, 0.0f, -hz + dz),
                                CVector(hx + dx, 0.0f, hz + dz), CVector(-hx + dx, 0.0f, hz + dz)};
    float m[16];
    m_owner->GetWorldMatrix(m);
    const bool onGround = m_world.GetCurrentWorldId() == IShadowWorld::kRaceWorld;
    MeshVertex* vertices = m_mesh->GetVertices();
    float lowest = 0.0f;
    float highest = 0.0f;
    for (int i = 0; i < 4; ++i) {
        CVector p;
        TransformByMatrix(corners[i], p, m);
        float y = kLift;
        if (onGround) {
            const float ground = m_world.GetGroundHeight(p.x, p.z, m_groundHint);
            // Without ground under a corner (or a broken height) the corner stays on the base plane
            // rather than carrying NaN into the mesh.
            y = (IsFinite(ground) ? ground : 0.0f) + kLift;
        }
        vertices[i].x = p.x;
        vertices[i].y = y;
        vertices[i].z = p.z;
        if (i == 0 || y < lowest)
            lowest = y;
        if (i == 0 || y > highest)
            highest = y;
    }
    if (onGround && highest - lowest > kMaxStep)
        for (int i = 0; i < 4; ++i)
            vertices[i].y = lowest;
    m_mesh->RequestUpdate(CMesh::kUpdatePositions);
}

int CShadowMan::CShadow::LiveCount() {
    return g_liveShadows;
}

// ---- CCarSkidMark ----

CShadowMan::CCarSkidMark::CCarSkidMark(const SDescription& description, IRenderAssets& assets,
                                       IShadowWorld& world)
    : CShadow(description, nullptr, assets, world) {
    ++g_liveSkidMarks;
    m_blended = false;
    if (m_mesh)
        m_mesh->SetHidden(false, false);
}

CShadowMan::CCarSkidMark::~CCarSkidMark() {
    --g_liveSkidMarks;
}

void CShadowMan::CCarSkidMark::Place(IShadowOwner* car, CVector point) {
    m_owner = car;
    m_point = point;
    if (m_mesh)
        m_mesh->SetHidden(true, false);
    Lay(point.x, point.z);
}

void CShadowMan::CCarSkidMark::Reset() {
    m_owner = nullptr;
    m_point = CVector();
    if (m_mesh)
        m_mesh->SetHidden(false, false);
}

int CShadowMan::CCarSkidMark::LiveCount() {
    return g_liveSkidMarks;
}

// ---- CShadowMan ----

CShadowMan::CShadowMan(IRenderAssets& assets, IShadowWorld& world) : m_assets(assets), m_world(world) {
    ++g_liveManagers;
    g_instance = this;
    ResetSkidMarks();
}

CShadowMan::~CShadowMan() {
    --g_liveManagers;
    if (g_instance == this)
        g_instance = nullptr;
    m_shadows.clear();
    m_skidMarks.clear();
}

CShadowMan* CShadowMan::GetInstance() {
    return g_instance;
}

int CShadowMan::StartManager() {
    m_started = true;
    return 0;
}

int CShadowMan::StopManager() {
    m_shadows.clear();
    m_started = false;
    return 0;
}

const CShadowMan::SDescription& CShadowMan::FindDescription(int typeId) {
    // A type without shadow data keeps its one invalid entry, so asking again neither reloads nor grows
    // the cache.
    for (const SDescription& d : m_descriptions)
        if (d.typeId == typeId)
            return d;
    SDescription d;
    d.typeId = typeId;
    CVector size;
    const bool texture = m_assets.GetInt(typeId, kFieldTexture, d.textureId);
    const bool offset = m_assets.GetVector(typeId, kFieldOffset, d.offset);
    const bool sized = m_assets.GetVector(typeId, kFieldSize, size);
    d.sizeX = size.x;
    d.sizeZ = size.z;
    // Sizes come from data: a non-finite one would put NaN into every corner.
    d.valid = texture && offset && sized && IsFinite(d.sizeX) && IsFinite(d.sizeZ);
    m_descriptions.push_back(d);
    return m_descriptions.back();
}

bool CShadowMan::CreateShadowFor(IShadowOwner* object) {
    if (m_shadowsOff)
        return true;
    if (!object)
        return false;
    // One shadow per owner: a second call (a world object given a new mesh) replaces the first, which
    // would otherwise outlive the owner that RemoveShadowFor takes away once.
    auto existing =
        std::find_if(m_shadows.begin(), m_shadows.end(),
                     [object](const std::unique_ptr<CShadow>& s) { return s->GetOwner() == object; });
    const SDescription& description = FindDescription(object->GetTypeId());
    if (!description.valid) {
        if (existing != m_shadows.end())
            m_shadows.erase(existing);
        return false;
    }
    auto shadow = std::make_unique<CShadow>(description, object, m_assets, m_world);
    if (existing != m_shadows.end())
        *existing = std::move(shadow);
    else
        m_shadows.push_back(std::move(shadow));
    return true;
}

bool CShadowMan::RemoveShadowFor(IShadowOwner* object) {
    auto it = std::find_if(m_shadows.begin(), m_shadows.end(),
                           [object](const std::unique_ptr<CShadow>& s) { return s->GetOwner() == object; });
    // Also while shadows are off: the owner is going, and its shadow must not read it afterwards.
    const bool found = it != m_shadows.end();
    if (found)
        m_shadows.erase(it);
    return found || m_shadowsOff;
}

void CShadowMan::UpdateShadows() {
    for (const auto& shadow : m_shadows)
        shadow->Update();
}

bool CShadowMan::AddSkidMark(IShadowOwner* car) {
    if (m_skidMarks.size() < 3 || !car)
        return true;
    for (const CVector& point : kSkidPoints) {
        std::unique_ptr<CCarSkidMark> mark = std::move(m_skidMarks.front());
        m_skidMarks.pop_front();
        mark->Reset();
        mark->Place(car, point);
        m_skidMarks.push_back(std::move(mark));
    }
    return true;
}

CShadowMan::SDescription CShadowMan::SkidMarkDescription() const {
    SDescription d;
    const int theme = m_assets.GetWorldTheme();
    // An unknown theme has no skid texture: the marks are made without a quad.
    d.valid = theme >= 0 && theme < 4;
    d.textureId = d.valid ? kSkidTextures[theme] : 0;
    d.sizeX = kSkidMarkSize;
    d.sizeZ = kSkidMarkSize;
    return d;
}

void CShadowMan::ResetSkidMarks() {
    m_skidMarks.clear();
    const SDescription description = SkidMarkDescription();
    for (int i = 0; i < m_poolSize; ++i)
        m_skidMarks.push_back(std::make_unique<CCarSkidMark>(description, m_assets, m_world));
}

void CShadowMan::SetSkidMarkCount(int n) {
    m_poolSize = std::clamp(n, 0, kMaxSkidMarks);
    ResetSkidMarks();
}

int CShadowMan::LiveCount() {
    return g_liveManagers;
}

} // namespace zentrix
