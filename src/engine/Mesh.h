#pragma once

#include "engine/Frame.h"
#include "engine/MeshAttachment.h"
#include "engine/MeshRecords.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

class CMeshBuffer;
struct KmbAppData;

/// The frame that carries geometry: an indexed triangle mesh with per-face textures and per-corner
/// texture coordinates, optional vertex colours and specular values, a bounding sphere, optional vertex
/// animation (a whole vertex set per frame) and optional key-track animation of its own transform. It
/// keeps its geometry in a vertex buffer with an index list and per-texture batches, built at its first
/// draw and updated in place when parts of the geometry change.
class CMesh : public CFrame {
public:
    // Mesh flags.
    static constexpr std::uint32_t kFlagInitial = 0x8;
    static constexpr std::uint32_t kFlagFileColours = 0x20; ///< vertex colours from a file: drawn unlit
    static constexpr std::uint32_t kFlagBorrowed = 0x40;    ///< the arrays belong to someone else
    static constexpr std::uint32_t kFlagKeepCornerMaps = 0x100;
    static constexpr std::uint32_t kFlagStage1Modulate = 0x200;
    static constexpr std::uint32_t kFlagSpecular = 0x400;

    // Update bits of RequestUpdate.
    static constexpr std::uint32_t kUpdatePositions = 1;
    static constexpr std::uint32_t kUpdateTexCoords0 = 2;
    static constexpr std::uint32_t kUpdateNormals = 4;
    static constexpr std::uint32_t kUpdateTexCoords1 = 8;
    static constexpr std::uint32_t kUpdateColours = 16;
    static constexpr std::uint32_t kUpdateSpecular = 32;
    static constexpr std::uint32_t kUpdateBatches = 64;
    static constexpr std::uint32_t kUpdateRebuild = 0x10000000;

    /// Face material flag: the face is drawn flat, with corners of its own.
    static constexpr std::uint32_t kFaceFlat = 0x1000;

    /// A root mesh without geometry.
    CMesh();
    /// A mesh that becomes the owner's first child (and is owned by it).
    explicit CMesh(CEntity* owner);
    ~CMesh() override;

    CEntity* Clone(CEntity* newParent, void* unused = nullptr) override;
    void SortFaces(bool recursive) override;
    int GetType() const override { return kKindMesh; }
    void Render(CViewport* view, bool useCache) override;
    void Prepare(CViewport* view, bool useCache) override;
    void SetAnimFrame(float frame, bool recursive) override;
    void PrecomputeFrames() override;

    /// Reads a KMT text mesh into this mesh: its top-level objects become child meshes. With the flag
    /// the smoothing groups are kept. False, with nothing added, when the file cannot be read.
    virtual bool LoadKMT(const char* fileName, bool keepSmoothingGroups);
    /// Reads a KMB binary mesh into this mesh; false, with nothing added, when it cannot be read.
    virtual bool LoadKMB(const char* fileName);
    /// LoadKMB that also hands back the file's application data (null without any or on failure).
    std::unique_ptr<KmbAppData> LoadKMBWithData(const char* fileName);

    /// Replaces the vertices with n zeroed ones.
    void SetVertexCount(std::uint32_t n);
    /// Replaces face list 0 or 1 with n zeroed faces.
    void SetFaceCount(std::uint32_t n, int list);
    /// Replaces the vertex colours with n zeroed ones (none for 0).
    void SetColourCount(std::uint32_t n);
    /// Replaces the specular values with n zeroed ones (none for 0).
    void SetSpecularCount(std::uint32_t n);
    /// Draws from arrays that someone else owns and keeps alive while they are installed.
    void BorrowGeometry(MeshFace* faces, std::uint32_t faceCount, MeshVertex* vertices,
                        std::uint32_t vertexCount, int list);
    /// Forgets borrowed vertices and that face list.
    void ReleaseGeometry(int list);

    /// Attaches a vertex animation whose sets lie one after another in the current vertex array, each
    /// of perSetCount vertices; the vertex count becomes that of one set (null removes the animation).
    void SetVertexAnimation(std::unique_ptr<MeshVertexAnimation> animation, std::uint32_t perSetCount);
    MeshVertexAnimation* GetVertexAnimation() const { return m_vertexAnimation.get(); }
    /// The first vertex of the animation's block and the vertices in it (the current ones without one).
    const MeshVertex* GetVertexBlock() const { return m_vertexAnimation ? m_animationBase : m_vertices; }
    std::uint32_t GetVertexBlockCount() const { return m_vertexAnimation ? m_animationBlock : m_vertexCount; }
    /// Shows the whole vertex block again and drops the vertex animation.
    void ClearVertexAnimation();
    /// Attaches key tracks (null removes them).
    void SetKeyTracks(std::unique_ptr<MeshKeyTracks> tracks);
    MeshKeyTracks* GetKeyTracks() const { return m_keyTracks.get(); }
    /// Drops the key tracks.
    void ClearKeyTracks() { m_keyTracks.reset(); }

    /// Hidden := not visible; with recursive the same on every mesh below, through plain frames too.
    void SetHidden(bool visible, bool recursive);
    bool IsHidden() const { return m_hidden; }
    /// Asks for parts of the vertex buffer to be rewritten before the next draw (update bits).
    void RequestUpdate(std::uint32_t bits) { m_pendingUpdates |= bits; }
    std::uint32_t GetPendingUpdates() const { return m_pendingUpdates; }
    /// The bounding spheres of this mesh and every mesh below it.
    void ComputeBounds();
    /// Positions of input vertices seen from the reference frame (null: world).
    void TransformVertices(const CEntity* reference, const MeshVertex* in, float* out,
                           std::uint32_t count) const;
    /// Normals of input vertices turned into the reference frame's space, without translation.
    void TransformNormals(const CEntity* reference, const MeshVertex* in, float* out,
                          std::uint32_t count) const;

    std::uint32_t GetVertexCount() const { return m_vertexCount; }
    MeshVertex* GetVertices() const { return m_vertices; }
    std::uint32_t GetFaceCount(int list) const { return m_faceCount[list & 1]; }
    MeshFace* GetFaces(int list) const { return m_faces[list & 1]; }
    /// Red, green, blue per vertex; null without vertex colours.
    std::uint8_t* GetColours() { return m_colours.empty() ? nullptr : m_colours.data(); }
    const std::uint8_t* GetColours() const { return m_colours.empty() ? nullptr : m_colours.data(); }
    /// Number of vertices that have a colour.
    std::uint32_t GetColourCount() const { return static_cast<std::uint32_t>(m_colours.size() / 3); }
    std::uint32_t* GetSpecular() { return m_specular.empty() ? nullptr : m_specular.data(); }
    const std::uint32_t* GetSpecular() const { return m_specular.empty() ? nullptr : m_specular.data(); }
    std::uint32_t GetSpecularCount() const { return static_cast<std::uint32_t>(m_specular.size()); }
    /// One value per face of list 0, or empty.
    std::vector<std::uint32_t>& SmoothingGroups() { return m_smoothingGroups; }
    const std::vector<std::uint32_t>& SmoothingGroups() const { return m_smoothingGroups; }

    std::uint32_t GetFlags() const { return m_flags; }
    void SetFlags(std::uint32_t flags) { m_flags = flags; }
    float GetSpecularPower() const { return m_specularPower; }
    void SetSpecularPower(float power) { m_specularPower = power; }
    std::uint8_t GetConstructionByte() const { return m_construction; }

    float GetRadius() const { return m_radius; }
    void SetRadius(float radius) { m_radius = radius; }
    const float* GetCentre() const { return m_centre; }
    const float* GetWorldCentre() const { return m_worldCentre; }
    /// The cached world matrix itself (it lives as long as the mesh).
    const float* WorldMatrix() const { return m_matrix; }

    /// What the game hangs on the mesh; shared with its clones.
    void SetAttachment(std::shared_ptr<CMeshAttachment> attachment) { m_attachment = std::move(attachment); }
    CMeshAttachment* GetAttachment() const { return m_attachment.get(); }

    /// Brings the vertex buffer up to date: built when missing or released, else the pending parts
    /// rewritten in place. False when the mesh cannot be put in a buffer.
    bool UpdateVertexBuffer();
    /// The vertex buffer state, null until built.
    const CMeshBuffer* GetBuffer() const { return m_buffer.get(); }

protected:
    /// Copies this mesh's own data (not the frame's) into a fresh copy.
    void CopyMeshData(CMesh& copy) const;

private:
    void ApplyKeyTracks(float frame);
    void ApplyVertexAnimation(float frame);

    std::shared_ptr<CMeshAttachment> m_attachment;
    std::uint32_t m_vertexCount = 0;
    MeshVertex* m_vertices = nullptr;
    std::vector<MeshVertex> m_vertexStore;
    std::uint32_t m_faceCount[2] = {0, 0};
    MeshFace* m_faces[2] = {nullptr, nullptr};
    std::vector<MeshFace> m_faceStore[2];
    std::vector<std::uint8_t> m_colours;
    std::vector<std::uint32_t> m_specular;
    std::vector<std::uint32_t> m_smoothingGroups;
    float m_worldCentre[3] = {0.0f, 0.0f, 0.0f};
    float m_centre[3] = {0.0f, 0.0f, 0.0f};
    float m_radius = 0.0f;
    std::unique_ptr<MeshVertexAnimation> m_vertexAnimation;
    MeshVertex* m_animationBase = nullptr; ///< first vertex of the animation's block
    std::uint32_t m_animationBlock = 0;    ///< vertices in that block
    std::unique_ptr<MeshKeyTracks> m_keyTracks;
    bool m_hidden = false;
    std::uint8_t m_construction = 1;
    std::uint32_t m_flags = kFlagInitial;
    float m_specularPower = 0.0f;
    std::unique_ptr<CMeshBuffer> m_buffer;
    std::uint32_t m_pendingUpdates = 0;
    bool m_bufferRefused = false; ///< the last build failed; tried again after the next update request
};

} // namespace zentrix
