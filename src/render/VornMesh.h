#pragma once

#include "engine/Mesh.h"
#include "foundation/math/Vector.h"

namespace zentrix {

class CEngineMan;

/// The mesh the game makes: the engine mesh with a deep copy of a whole frame tree and tree-wide
/// operations on the meshes of a tree (frames of kind 2), this frame first, then its children depth
/// first.
class CVornMesh : public CMesh {
public:
    /// An empty mesh without a parent.
    CVornMesh();
    /// Detaches itself from a parent it still has, then goes as every mesh does.
    ~CVornMesh() override;

    CEntity* Clone(CEntity* newParent, void* unused) override;
    /// A new mesh with this frame's data and copies of its children, made a child of the parent when
    /// one is given (else the caller owns it).
    virtual CVornMesh* Clone(CEntity* parent);

    /// For every mesh of the tree, the bounding sphere, then the vertex normals of that mesh alone.
    void UpdateBoundingSpheres();
    /// Vertex normals as the normalised sum of the normals of the faces at each vertex; faces whose
    /// normal is nearly horizontal (|y| <= 0.01) add nothing. With recursive, every mesh below as well.
    void RecomputeNormals(bool recursive);
    /// Multiplies every mesh's bounding radius in the tree by the factor.
    void ScaleBoundingRadius(float factor);

    /// Every mesh of the tree is shown (or hidden).
    void SetVisible(bool visible);
    /// Lights the vertices of every mesh of the tree from the application's engine lights (nothing while
    /// lighting is suspended or no engine is set).
    void ApplySceneLighting();
    /// The application's engine, whose lights ApplySceneLighting uses (null: none, meshes stay unlit).
    static void SetLightingEngine(const CEngineMan* engine);
    /// The scene-light pass over the meshes under any frame: the brightest ambient of the lights the
    /// engine gives as the base colour, then each light's diffuse share per vertex.
    static void ApplySceneLighting(CEntity* root, const CEngineMan& engine);
    /// Vertex colours of every mesh of the tree from a base colour (0-1 per channel) and the engine's
    /// lights, measured from each mesh's first vertex.
    static void VertexLight(CEntity* root, const CEngineMan& engine, float r, float g, float b);
    /// With on, every mesh of the tree takes one fixed vertex colour (0-1 per channel); without, the
    /// scene lights light it again.
    void SetVertexLightColour(bool on, float r, float g, float b);
    /// Gives every face of the tree's meshes that shows `oldTexture` the new one and marks the subtree of
    /// each mesh to be rebuilt; true when any face changed.
    bool ReplaceTexture(CTexture* oldTexture, CTexture* newTexture);
    /// Marks every mesh of the tree (from any frame) to be rebuilt before its next draw.
    static void MarkForRebuild(CEntity* root);
    /// The matrix from this frame's space to world space, composed from the local matrices up the tree.
    void GetWorldMatrix(float* out) const;
    /// The world matrix without its translation.
    void GetWorldRotation(float* out) const;
    /// A point of this frame's space in world space.
    void LocalToWorld(CVector& out, CVector local) const;
    /// The highest world y of any vertex in the tree; -100000 when it has none.
    float GetHighestPoint() const;

    /// Set by the world while it loads a track or converts a theme: the scene-light pass waits.
    static void SetLightingSuspended(bool suspended);
    static bool IsLightingSuspended();

    /// Number of live game meshes.
    static int LiveCount();
};

} // namespace zentrix
