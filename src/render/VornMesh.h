#pragma once

#include "engine/Mesh.h"

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

    /// Number of live game meshes.
    static int LiveCount();
};
