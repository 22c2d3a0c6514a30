#pragma once

#include "engine/Frame.h"
#include "engine/Mesh.h"
#include "world/ContactOwner.h"
#include "world/ContactPoint.h"
#include "world/TerrainTriangle.h"
#include "world/TopographyFollower.h"
#include "world/TopographyWorld.h"
#include "world/WorldTopography.h"

#include "support/VectorExpect.h"

#include <map>
#include <vector>

namespace groundtest {

/// The two triangles of a quad over [x0, x1] x [z0, z1], wound to face up, with the height of each
/// corner: y00 at (x0, z0), y10 at (x1, z0), y01 at (x0, z1), y11 at (x1, z1).
inline std::vector<TriangleCorners> Quad(float x0, float z0, float x1, float z1, float y00, float y10,
                                         float y01, float y11) {
    const CVector p00(x0, y00, z0), p10(x1, y10, z0), p01(x0, y01, z1), p11(x1, y11, z1);
    return {{p00, p01, p10}, {p10, p01, p11}};
}

/// A level quad at height y.
inline std::vector<TriangleCorners> Plate(float x0, float z0, float x1, float z1, float y) {
    return Quad(x0, z0, x1, z1, y, y, y, y);
}

/// A frame tree of meshes built in memory, as a race world's root frame holds its pieces.
class TerrainTree {
public:
    CFrame root{nullptr};

    /// A mesh under the root (or under `parent`) at `at`, one face of face list 0 per triangle, corners
    /// given in the mesh's own space.
    CMesh& AddMesh(const std::vector<TriangleCorners>& triangles, CTexture* texture = nullptr,
                   CVector at = {}, CEntity* parent = nullptr) {
        auto* mesh = new CMesh(parent ? parent : &root);
        mesh->SetPosition(at.x, at.y, at.z);
        mesh->SetVertexCount(static_cast<std::uint32_t>(triangles.size() * 3));
        mesh->SetFaceCount(static_cast<std::uint32_t>(triangles.size()), 0);
        for (std::size_t t = 0; t < triangles.size(); ++t) {
            for (std::size_t k = 0; k < 3; ++k) {
                const CVector& c = triangles[t][k];
                mesh->GetVertices()[t * 3 + k] = {c.x, c.y, c.z, 0.0f, 1.0f, 0.0f};
            }
            MeshFace& face = mesh->GetFaces(0)[t];
            face.a = static_cast<std::uint32_t>(t * 3);
            face.b = face.a + 1;
            face.c = face.a + 2;
            face.texture = texture;
        }
        return *mesh;
    }
};

/// The world registry and race world as the followers see them: a current world (the race by default),
/// an 8 x 8 grid's bounds, a terrain and the surface values; counts how often the terrain is asked for.
class FakeTopographyWorld : public ITopographyWorld {
public:
    int worldId = kRaceWorld;
    CVector minimum{-116.0f, 0.0f, -116.0f};
    CVector maximum{140.0f, 0.0f, 140.0f};
    const CWorldTopography* topography = nullptr;
    std::map<int, float> surface{{kSurfaceSideGrip, 1.0f},
                                 {kSurfaceSideGripScale, 1.0f},
                                 {kSurfaceSlideAngle, 1.0f},
                                 {kSurfaceSlopePush, 1.0f}};
    mutable int topographyCalls = 0;
    /// Every height query of a follower in a race world asks for the bounds first; normals do not.
    mutable int boundsCalls = 0;

    int GetCurrentWorldId() const override { return worldId; }
    void GetGridBounds(CVector& min, CVector& max) const override {
        ++boundsCalls;
        min = minimum;
        max = maximum;
    }
    const CWorldTopography* GetTopography() const override {
        ++topographyCalls;
        return topography;
    }
    float GetSurfaceParam(int field) const override {
        const auto it = surface.find(field);
        return it == surface.end() ? 0.0f : it->second;
    }
};

/// Makes a world the one every follower asks while it lives.
class InstalledWorld {
public:
    explicit InstalledWorld(ITopographyWorld& world) { CTopographyFollower::SetWorld(&world); }
    ~InstalledWorld() { CTopographyFollower::SetWorld(nullptr); }
    InstalledWorld(const InstalledWorld&) = delete;
    InstalledWorld& operator=(const InstalledWorld&) = delete;
};

/// An active object as its contact points see it: counts, mean velocity and heading worked out from its
/// own points as the active object does, and a collision recorder's contacts of the tick before.
class FakeOwner : public IContactOwner {
public:
    std::vector<const CContactPoint*> points;
    float friction = 0.02f;
    CVector direction = kDefaultDirection;
    float gripFactor = 1.0f;
    float sink = 0.0f; ///< as a car sunk into a pit's mud answers
    /// The recorder's contact of kind 5, and the touched object's own contact of kind 1.
    bool hasObjectContact = false;
    CVector objectContact;
    bool otherHasTrackContact = false;
    CVector otherTrackContact;

    std::uint32_t GetContactCount() const override { return static_cast<std::uint32_t>(points.size()); }
    std::uint32_t CountGroundedContacts() const override {
        std::uint32_t n = 0;
        for (const CContactPoint* p : points)
            n += p->IsOnGround() ? 1 : 0;
        return n;
    }
    float GetGroundSink() const override { return sink; }
    CVector GetMeanContactVelocity() const override {
        CVector sum;
        for (const CContactPoint* p : points)
            sum += p->GetVelocity();
        return points.empty() ? sum : sum / static_cast<float>(points.size());
    }
    float GetFrictionCoefficient() const override { return friction; }
    bool IsMovingForward() const override { return GetMeanContactVelocity().Dot(direction) > 0.0f; }
    CVector GetDirection() const override { return direction; }
    float GetWheelGripFactor() const override { return gripFactor; }
    bool FindContact(std::int32_t kind, CVector& vector) const override {
        if (kind != 5 || !hasObjectContact)
            return false;
        vector = objectContact;
        return true;
    }
    bool FindContactOfOther(std::int32_t kind, std::int32_t otherKind, CVector& vector) const override {
        if (kind != 5 || otherKind != 1 || !hasObjectContact || !otherHasTrackContact)
            return false;
        vector = otherTrackContact;
        return true;
    }
};

/// The descriptor an active object hands a point of itself at `position` (offset zero), with the
/// asset's downward constant force (0, -1, 0) x 0.16 and ground-force factor 1.
inline CContactPointDesc PointAt(CVector position, FakeOwner& owner, std::uint32_t index = 0) {
    CContactPointDesc desc;
    desc.index = index;
    desc.ownerPosition = position;
    desc.owner = &owner;
    desc.frictionCoefficient = owner.friction;
    desc.constantForce = {0.0f, -0.16f, 0.0f};
    desc.groundForceFactor = 1.0f;
    return desc;
}

} // namespace groundtest
