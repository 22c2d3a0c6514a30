#pragma once

#include "platform/raster/VertexBuffer.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

class CMesh;

/// Where each part of a mesh's buffer vertex sits, in 32-bit words; -1 when the layout lacks it.
struct MeshVertexLayout {
    std::uint32_t format;
    int position, normal, colour, specular, tex0, tex1;
    int size; ///< words per vertex
};

/// The layout of one of the eight mesh vertex formats; null for any other format.
const MeshVertexLayout* FindMeshVertexLayout(std::uint32_t format);

/// The vertex format of a mesh: one or two texture-coordinate sets, colour in place of the normal when
/// pre-lit, plus specular.
std::uint32_t MeshVertexFormat(bool twoSets, bool colours, bool specular);

/// One run of consecutive faces of list 0 with the same texture, drawn with one call.
struct MeshBatch {
    int firstVertex = 0;                ///< first buffer vertex the run uses
    int vertexCount = 0;                ///< buffer vertices spanned
    std::uint32_t face = 0;             ///< first face of the run in list 0 (its texture is the run's)
    bool hasSecondList = false;         ///< face list 1 gives a second texture at the same face
    std::vector<std::uint16_t> indices; ///< rebased so that firstVertex is 0
};

/// A mesh's geometry in buffer form: corners (a vertex with the texture coordinates of one face corner),
/// a 16-bit index list of three corners per face, per-texture batches, and the vertex buffer they fill.
class CMeshBuffer {
public:
    /// The most corners a buffer can address with 16-bit indices.
    static constexpr std::uint32_t kMaxCorners = 65535;

    /// Turns the mesh's vertices and faces into corners and fills a new buffer; null (logged) when the
    /// mesh cannot be put in one: too many corners, or a face naming a missing vertex.
    static std::unique_ptr<CMeshBuffer> Build(const CMesh& mesh, bool keepCornerMaps);

    /// Rewrites the parts named by the update bits for every corner from the mesh; parts the layout
    /// lacks are skipped and unknown combinations dropped. False when the buffer no longer fits the mesh
    /// (no corner maps, or corners naming vertices the mesh no longer has): it must be rebuilt.
    bool Update(const CMesh& mesh, std::uint32_t bits);
    /// Makes the batches again from the mesh's current faces.
    void RebuildBatches(const CMesh& mesh);

    const MeshVertexLayout& Layout() const { return *m_layout; }
    bool KeepsCornerMaps() const { return m_keepCornerMaps; }
    std::uint32_t CornerCount() const { return static_cast<std::uint32_t>(m_cornerVertex.size()); }
    const std::vector<std::uint16_t>& Indices() const { return m_indices; }
    const std::vector<MeshBatch>& Batches() const { return m_batches; }
    const plat::raster::VertexBuffer& Vertices() const { return *m_vertices; }
    /// The words of buffer vertex i.
    const std::uint32_t* VertexWords(std::uint32_t i) const;

private:
    CMeshBuffer() = default;
    void Fill(const CMesh& mesh, std::uint32_t bits);
    std::uint32_t* Words(std::uint32_t i);

    const MeshVertexLayout* m_layout = nullptr;
    bool m_keepCornerMaps = false;
    std::vector<std::uint32_t> m_cornerVertex; ///< vertex of each corner
    std::vector<std::uint32_t> m_cornerFace;   ///< face of list 0 and corner (0..2) as face * 4 + corner
    std::vector<bool> m_cornerFlat;            ///< corner of a flat face: carries the face normal
    std::vector<std::uint16_t> m_indices;
    std::vector<MeshBatch> m_batches;
    std::unique_ptr<plat::raster::VertexBuffer> m_vertices;
};

} // namespace zentrix
