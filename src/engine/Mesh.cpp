#include "engine/Mesh.h"

#include "engine/DisplayDevice.h"
#include "engine/KmbFile.h"
#include "engine/KmtReader.h"
#include "engine/MeshBuffer.h"
#include "engine/MeshTextureAccess.h"
#include "engine/PipelineContext.h"
#include "engine/PolygonPipeline.h"
#include "foundation/math/EngineMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace zentrix {

namespace {

/// The order faces are sorted in: faces with colour-keyed textures last, then grouped by texture in the
/// order the textures were made, then by their vertex indices.
bool FaceBefore(const MeshFace& x, const MeshFace& y) {
    const bool keyedX = (MeshTextureFlags(x.texture) & 0x10) != 0;
    const bool keyedY = (MeshTextureFlags(y.texture) & 0x10) != 0;
    if (keyedX != keyedY)
        return keyedY;
    const std::uint32_t orderX = MeshTextureOrder(x.texture), orderY = MeshTextureOrder(y.texture);
    if (orderX != orderY)
        return orderX < orderY;
    if (x.a != y.a)
        return x.a < y.a;
    if (x.b != y.b)
        return x.b < y.b;
    return x.c < y.c;
}

/// Quicksort of face list 0 (middle pivot, Hoare partition); every exchange is repeated in face list 1
/// where it reaches that far and in the smoothing groups.
class FaceSorter {
public:
    FaceSorter(MeshFace* faces, MeshFace* second, std::uint32_t secondCount,
               std::vector<std::uint32_t>& groups)
        : m_faces(faces), m_second(second), m_secondCount(secondCount), m_groups(groups) {}

    void Sort(std::int64_t lo, std::int64_t hi) {
        // The smaller part recurses and the larger loops, so the depth stays logarithmic.
        while (lo < hi) {
            const MeshFace pivot = m_faces[lo + (hi - lo) / 2];
            std::int64_t i = lo, j = hi;
            while (i <= j) {
                while (FaceBefore(m_faces[i], pivot))
                    ++i;
                while (FaceBefore(pivot, m_faces[j]))
                    --j;
                if (i <= j) {
                    Swap(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j));
                    ++i;
                    --j;
                }
            }
            if (j - lo < hi - i) {
                Sort(lo, j);
                lo = i;
            } else {
                Sort(i, hi);
                hi = j;
            }
        }
    }

private:
    void Swap(std::uint32_t i, std::uint32_t j) {
        if (i == j)
            return;
        std::swap(m_faces[i], m_faces[j]);
        const std::uint32_t higher = std::max(i, j);
        if (m_second && m_secondCount > higher)
            std::swap(m_second[i], m_second[j]);
        if (m_groups.size() > higher)
            std::swap(m_groups[i], m_groups[j]);
    }

    MeshFace* m_faces;
    MeshFace* m_second;
    std::uint32_t m_secondCount;
    std::vector<std::uint32_t>& m_groups;
};

float Lerp(float a, float b, float t) {
    return static_cast<float>(a + (static_cast<double>(b) - a) * t);
}

} // namespace

CMesh::CMesh() : CFrame() {}

CMesh::CMesh(CEntity* owner) : CFrame(owner) {}

CMesh::~CMesh() = default;

CEntity* CMesh::Clone(CEntity* newParent, void* /*unused*/) {
    auto* copy = new CMesh(newParent);
    CopyMeshData(*copy);
    FinishFrameClone(copy);
    return copy;
}

void CMesh::CopyMeshData(CMesh& copy) const {
    // The copy owns copies of everything it draws from, so either mesh may go first; it builds its own
    // vertex buffer at its first draw. Only the attachment is shared.
    copy.m_attachment = m_attachment;
    const MeshVertex* block = m_vertexAnimation ? m_animationBase : m_vertices;
    const std::uint32_t blockCount = m_vertexAnimation ? m_animationBlock : m_vertexCount;
    copy.m_vertexStore.assign(block, block + blockCount);
    copy.m_vertices = copy.m_vertexStore.empty() ? nullptr : copy.m_vertexStore.data();
    copy.m_vertexCount = m_vertexCount;
    for (int list = 0; list < 2; ++list) {
        copy.m_faceStore[list].assign(m_faces[list], m_faces[list] + m_faceCount[list]);
        copy.m_faces[list] = copy.m_faceStore[list].empty() ? nullptr : copy.m_faceStore[list].data();
        copy.m_faceCount[list] = m_faceCount[list];
    }
    copy.m_colours = m_colours;
    copy.m_specular = m_specular;
    copy.m_smoothingGroups = m_smoothingGroups;
    std::memcpy(copy.m_centre, m_centre, sizeof m_centre);
    std::memcpy(copy.m_worldCentre, m_worldCentre, sizeof m_worldCentre);
    copy.m_radius = m_radius;
    copy.m_hidden = m_hidden;
    copy.m_construction = m_construction;
    copy.m_flags = m_flags & ~kFlagBorrowed;
    copy.m_specularPower = m_specularPower;
    if (m_vertexAnimation) {
        auto animation = std::make_unique<MeshVertexAnimation>(*m_vertexAnimation);
        animation->currentFrame = 0;
        copy.m_vertexAnimation = std::move(animation);
        copy.m_animationBase = copy.m_vertices;
        copy.m_animationBlock = blockCount;
    }
    if (m_keyTracks)
        copy.m_keyTracks = std::make_unique<MeshKeyTracks>(*m_keyTracks);
}

void CMesh::SortFaces(bool recursive) {
    if (m_faceCount[0] > 1) {
        FaceSorter sorter(m_faces[0], m_faces[1], m_faceCount[1], m_smoothingGroups);
        sorter.Sort(0, static_cast<std::int64_t>(m_faceCount[0]) - 1);
    }
    CEntity::SortFaces(recursive);
}

void CMesh::Prepare(CViewport* view, bool useCache) {
    const bool childCache = UpdateWorldMatrix(useCache);
    if (!childCache)
        TransformPoint(m_matrix, m_centre, m_worldCentre);
    CullMesh(*this);
    for (CEntity* child = GetFirstChild(); child; child = child->GetNextSibling())
        child->Prepare(view, childCache);
}

void CMesh::Render(CViewport* view, bool useCache) {
    // The preparation pass brought the matrices up to date.
    CDisplayDevice* device = GetPipelineContext().device;
    if (!IsCulled() && device) {
        using plat::raster::RenderState;
        // Meshes without specular values carry no fog factor, so fog is off while they draw.
        std::uint32_t fog = 0;
        device->GetRenderState(RenderState::FogEnable, fog);
        const bool fogOff = fog == 1 && !GetSpecular();
        if (fogOff)
            device->SetRenderState(RenderState::FogEnable, 0);
        const bool specular = (m_flags & kFlagSpecular) != 0;
        plat::raster::Device* d = device->GetRenderDevice();
        plat::raster::Material saved;
        if (specular && d) {
            device->SetRenderState(RenderState::SpecularEnable, 1);
            device->SetRenderState(RenderState::SpecularMaterialSource, 0);
            device->SetRenderState(RenderState::NormalizeNormals, 1);
            device->SetRenderState(RenderState::LocalViewer, 0);
            saved = d->GetMaterial();
            plat::raster::Material shiny = saved;
            shiny.specular = {1.0f, 1.0f, 1.0f, shiny.specular.a};
            shiny.power = m_specularPower;
            d->SetMaterial(shiny);
        }
        DrawMeshVB(*this);
        if (specular && d) {
            d->SetMaterial(saved);
            device->SetRenderState(RenderState::SpecularEnable, 0);
            device->SetRenderState(RenderState::NormalizeNormals, 0);
        }
        if (fogOff)
            device->SetRenderState(RenderState::FogEnable, 1);
    }
    for (CEntity* child = GetFirstChild(); child; child = child->GetNextSibling())
        child->Render(view, useCache);
}

void CMesh::SetAnimFrame(float frame, bool recursive) {
    ApplyVertexAnimation(frame);
    if (recursive)
        CEntity::SetAnimFrame(frame, true);
    ApplyKeyTracks(frame);
}

void CMesh::ApplyVertexAnimation(float frame) {
    MeshVertexAnimation* animation = m_vertexAnimation.get();
    if (!animation || animation->frameCount == 0 || !std::isfinite(frame))
        return;
    const double count = animation->frameCount;
    double index = std::fmod(std::round(static_cast<double>(frame)), count);
    if (index < 0.0)
        index += count;
    const auto i = static_cast<std::uint32_t>(index);
    if (i >= animation->frameCount || i == animation->currentFrame)
        return;
    animation->currentFrame = i;
    if (i >= animation->frameSets.size() || animation->markers.empty())
        return;
    const std::int32_t set = animation->frameSets[i];
    const std::uint32_t perSet = m_vertexCount;
    // A frame without a set keeps what is shown.
    if (set < 0 || static_cast<std::uint64_t>(set + 1) * perSet > m_animationBlock)
        return;
    MeshVertex* vertices = m_animationBase + static_cast<std::size_t>(set) * perSet;
    if (vertices != m_vertices) {
        m_vertices = vertices;
        RequestUpdate(kUpdatePositions | kUpdateNormals);
    }
}

void CMesh::ApplyKeyTracks(float frame) {
    MeshKeyTracks* tracks = m_keyTracks.get();
    if (!tracks || !std::isfinite(frame))
        return;
    const double period = static_cast<double>(tracks->lastFrame) + 1.0;
    double wrapped = std::fmod(static_cast<double>(frame), period);
    if (wrapped < 0.0)
        wrapped += period;
    if (wrapped > tracks->lastFrame)
        wrapped -= period;
    const auto f = static_cast<float>(wrapped);
    if (f == tracks->currentFrame)
        return;
    tracks->currentFrame = f;
    std::size_t slot = f > 0.0f ? static_cast<std::size_t>(f) : 0;
    const bool cached =
        !tracks->frameDone.empty() && slot < tracks->frameDone.size() && slot < tracks->cache.size();
    if (cached && tracks->frameDone[slot]) {
        SetMatrix(tracks->cache[slot].data());
        return;
    }
    if (tracks->keys.empty())
        return;

    enum { kScale, kRotation, kPosition };
    const MeshKey* previous[3] = {nullptr, nullptr, nullptr};
    const MeshKey* next[3] = {nullptr, nullptr, nullptr};
    for (const MeshKey& key : tracks->keys) {
        const bool has[3] = {key.hasScale, key.hasRotation, key.hasPosition};
        for (int c = 0; c < 3; ++c) {
            if (!has[c])
                continue;
            if (key.time <= f)
                previous[c] = &key;
            else if (!next[c])
                next[c] = &key;
        }
        if (next[0] && next[1] && next[2])
            break;
    }
    for (auto& n : next)
        if (!n)
            n = &tracks->keys.front();
    auto fraction = [f](const MeshKey* a, const MeshKey* b) {
        return a == b ? 0.0f : static_cast<float>((f - static_cast<double>(a->time)) / (b->time - a->time));
    };

    float scale[3] = {1.0f, 1.0f, 1.0f};
    if (previous[kScale] && next[kScale] != previous[kScale] && next[kScale]->hasScale) {
        const float t = fraction(previous[kScale], next[kScale]);
        for (int i = 0; i < 3; ++i)
            scale[i] = Lerp(previous[kScale]->scale[i], next[kScale]->scale[i], t);
    }

    float rotation[16];
    if (previous[kRotation] && next[kRotation]->hasRotation) {
        const float t = fraction(previous[kRotation], next[kRotation]);
        MatrixFromQuaternion(rotation,
                             QuaternionSlerp(previous[kRotation]->rotation, next[kRotation]->rotation, t));
    } else {
        CopyMatrix(tracks->base, rotation);
        rotation[12] = rotation[13] = rotation[14] = 0.0f;
    }

    float position[3] = {tracks->base[12], tracks->base[13], tracks->base[14]};
    if (const MeshKey* p = previous[kPosition]) {
        const MeshKey* n = next[kPosition];
        const bool towards = n != p && n->hasPosition;
        const float t = towards ? fraction(p, n) : 0.0f;
        for (int i = 0; i < 3; ++i)
            position[i] = towards ? Lerp(p->position[i], n->position[i], t) : p->position[i];
    }

    // Scaled first, then rotated, then moved (row vectors).
    float local[16];
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            local[row * 4 + col] = scale[row] * rotation[row * 4 + col];
        local[row * 4 + 3] = 0.0f;
    }
    local[12] = position[0];
    local[13] = position[1];
    local[14] = position[2];
    local[15] = 1.0f;
    SetMatrix(local);
    if (cached) {
        tracks->frameDone[slot] = 1;
        std::memcpy(tracks->cache[slot].data(), local, sizeof local);
    }
}

void CMesh::PrecomputeFrames() {
    if (m_keyTracks) {
        const std::size_t frames = static_cast<std::size_t>(m_keyTracks->lastFrame) + 1;
        if (m_keyTracks->frameDone.empty()) {
            m_keyTracks->frameDone.assign(frames, 0);
            m_keyTracks->cache.assign(frames, {});
        }
        for (std::uint32_t frame = 0; frame <= m_keyTracks->lastFrame; ++frame)
            SetAnimFrame(static_cast<float>(frame), false);
    }
    CEntity::PrecomputeFrames();
}

bool CMesh::LoadKMT(const char* fileName, bool keepSmoothingGroups) {
    return KMTLoad(fileName, this, keepSmoothingGroups);
}

bool CMesh::LoadKMB(const char* fileName) {
    return LoadKMBFile(fileName, this, nullptr, "CMesh::LoadKMB");
}

std::unique_ptr<KmbAppData> CMesh::LoadKMBWithData(const char* fileName) {
    auto data = std::make_unique<KmbAppData>();
    if (!LoadKMBFile(fileName, this, data.get(), "CMesh::LoadKMBWithData") || data->bytes.empty())
        return nullptr;
    return data;
}

void CMesh::SetVertexCount(std::uint32_t n) {
    ClearVertexAnimation();
    m_vertexStore.assign(n, MeshVertex{});
    m_vertices = n ? m_vertexStore.data() : nullptr;
    m_vertexCount = n;
}

void CMesh::SetFaceCount(std::uint32_t n, int list) {
    list &= 1;
    m_faceStore[list].assign(n, MeshFace{});
    m_faces[list] = n ? m_faceStore[list].data() : nullptr;
    m_faceCount[list] = n;
}

void CMesh::SetColourCount(std::uint32_t n) {
    m_colours.assign(static_cast<std::size_t>(n) * 3, 0);
}

void CMesh::SetSpecularCount(std::uint32_t n) {
    m_specular.assign(n, 0);
}

void CMesh::BorrowGeometry(MeshFace* faces, std::uint32_t faceCount, MeshVertex* vertices,
                           std::uint32_t vertexCount, int list) {
    ClearVertexAnimation();
    list &= 1;
    m_faceStore[list].clear();
    m_faces[list] = faces;
    m_faceCount[list] = faces ? faceCount : 0;
    m_vertexStore.clear();
    m_vertices = vertices;
    m_vertexCount = vertices ? vertexCount : 0;
    m_flags |= kFlagBorrowed;
}

void CMesh::ReleaseGeometry(int list) {
    ClearVertexAnimation();
    list &= 1;
    m_vertexStore.clear();
    m_vertices = nullptr;
    m_vertexCount = 0;
    m_faceStore[list].clear();
    m_faces[list] = nullptr;
    m_faceCount[list] = 0;
    m_flags &= ~kFlagBorrowed;
}

void CMesh::SetVertexAnimation(std::unique_ptr<MeshVertexAnimation> animation, std::uint32_t perSetCount) {
    ClearVertexAnimation();
    if (!animation || !m_vertices || perSetCount == 0 || perSetCount > m_vertexCount)
        return;
    m_vertexAnimation = std::move(animation);
    m_animationBase = m_vertices;
    m_animationBlock = m_vertexCount;
    m_vertexCount = perSetCount;
}

void CMesh::ClearVertexAnimation() {
    if (!m_vertexAnimation)
        return;
    m_vertices = m_animationBase;
    m_vertexCount = m_animationBlock;
    m_vertexAnimation.reset();
    m_animationBase = nullptr;
    m_animationBlock = 0;
}

void CMesh::SetKeyTracks(std::unique_ptr<MeshKeyTracks> tracks) {
    m_keyTracks = std::move(tracks);
}

namespace {

// Every mesh below node, through plain frames too.
void SetHiddenBelow(CEntity* node, bool visible) {
    for (CEntity* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
        if (auto* mesh = dynamic_cast<CMesh*>(child))
            mesh->SetHidden(visible, true);
        else
            SetHiddenBelow(child, visible);
    }
}

} // namespace

void CMesh::SetHidden(bool visible, bool recursive) {
    m_hidden = !visible;
    if (recursive)
        SetHiddenBelow(this, visible);
}

namespace {

void ComputeBoundsBelow(CEntity* node) {
    for (CEntity* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
        if (auto* mesh = dynamic_cast<CMesh*>(child))
            mesh->ComputeBounds();
        else
            ComputeBoundsBelow(child);
    }
}

} // namespace

void CMesh::ComputeBounds() {
    if (m_vertexCount && m_vertices) {
        double sum[3] = {0.0, 0.0, 0.0};
        for (std::uint32_t i = 0; i < m_vertexCount; ++i) {
            sum[0] += m_vertices[i].x;
            sum[1] += m_vertices[i].y;
            sum[2] += m_vertices[i].z;
        }
        for (int c = 0; c < 3; ++c)
            m_centre[c] = static_cast<float>(sum[c] / m_vertexCount);
        double largest = 0.0;
        for (std::uint32_t i = 0; i < m_vertexCount; ++i) {
            const double dx = m_vertices[i].x - static_cast<double>(m_centre[0]);
            const double dy = m_vertices[i].y - static_cast<double>(m_centre[1]);
            const double dz = m_vertices[i].z - static_cast<double>(m_centre[2]);
            largest = std::max(largest, dx * dx + dy * dy + dz * dz);
        }
        m_radius = static_cast<float>(std::sqrt(largest));
    } else {
        m_radius = 0.0f;
        GetPosition(m_centre);
    }
    ComputeBoundsBelow(this);
    Invalidate();
}

void CMesh::TransformVertices(const CEntity* reference, const MeshVertex* in, float* out,
                              std::uint32_t count) const {
    float chain[16], local[16], m[16];
    GetChainMatrix(reference, chain);
    IdentityMatrix(m);
    MultiplyMatrixInto(m, GetLocalMatrix(local), chain);
    for (std::uint32_t i = 0; i < count; ++i) {
        const float p[3] = {in[i].x, in[i].y, in[i].z};
        TransformPoint(m, p, out + i * 3);
    }
}

void CMesh::TransformNormals(const CEntity* reference, const MeshVertex* in, float* out,
                             std::uint32_t count) const {
    float chain[16], local[16], m[16];
    GetChainMatrix(reference, chain);
    IdentityMatrix(m);
    MultiplyMatrixInto(m, GetLocalMatrix(local), chain);
    m[12] = m[13] = m[14] = 0.0f;
    for (std::uint32_t i = 0; i < count; ++i) {
        const float n[3] = {in[i].nx, in[i].ny, in[i].nz};
        TransformPoint(m, n, out + i * 3);
    }
}

bool CMesh::UpdateVertexBuffer() {
    if (!m_vertexCount || !m_vertices || !m_faceCount[0] || !m_faces[0]) {
        m_buffer.reset();
        m_pendingUpdates = 0;
        return false;
    }
    const std::uint32_t bits = m_pendingUpdates;
    m_pendingUpdates = 0;
    if (m_buffer) {
        const MeshVertexLayout& layout = m_buffer->Layout();
        // A buffer whose layout no longer matches what the mesh carries is made again.
        const bool fits = m_buffer->Indices().size() == static_cast<std::size_t>(m_faceCount[0]) * 3 &&
                          (layout.colour >= 0) == (GetColours() != nullptr) &&
                          (layout.specular >= 0) == (GetSpecular() != nullptr) &&
                          (layout.tex1 >= 0) == (m_faceCount[1] == m_faceCount[0]);
        if ((bits & kUpdateRebuild) || !fits)
            m_buffer.reset();
    }
    if (m_buffer && (bits & 0x3F)) {
        if (!m_buffer->KeepsCornerMaps()) {
            m_buffer.reset();
            m_flags |= kFlagKeepCornerMaps;
        } else if (!m_buffer->Update(*this, bits)) {
            m_buffer.reset();
        }
    }
    if (m_buffer && (bits & kUpdateBatches))
        m_buffer->RebuildBatches(*this);
    if (!m_buffer) {
        if (m_bufferRefused && !bits)
            return false;
        m_buffer = CMeshBuffer::Build(*this, (m_flags & kFlagKeepCornerMaps) != 0);
        m_bufferRefused = !m_buffer;
    }
    return m_buffer != nullptr;
}

} // namespace zentrix
