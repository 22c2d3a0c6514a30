#pragma once

namespace zentrix {

/// A 3-vector of floats: positions, directions, velocities, forces and colours. The world is y-up, so
/// y is height and x-z is the ground plane. Passed and returned by value everywhere.
///
/// Arithmetic is carried out in double precision and stored back as float, so results do not depend
/// on how the compiler keeps intermediates. Exact comparisons are intended: the game tests for exact
/// zero and exact equality, without a tolerance.
class CVector {
public:
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    /// The zero vector.
    constexpr CVector() = default;
    /// The vector (x, y, z).
    constexpr CVector(float xIn, float yIn, float zIn) : x(xIn), y(yIn), z(zIn) {}

    /// The direction members and locals start from: (-1, 0, 0).
    static constexpr CVector DefaultDirection() { return {-1.0f, 0.0f, 0.0f}; }

    /// Stores the three components.
    void Set(float xIn, float yIn, float zIn) {
        x = xIn;
        y = yIn;
        z = zIn;
    }
    /// Stores the three components (same as Set).
    void SetXYZ(float xIn, float yIn, float zIn) { Set(xIn, yIn, zIn); }
    /// Copies v.
    void SetFrom(CVector v) { Set(v.x, v.y, v.z); }
    /// Stores (0, 0, 0).
    void Zero() { Set(0.0f, 0.0f, 0.0f); }

    /// Euclidean length.
    float Length() const;
    /// Divides by the length. A zero vector becomes NaN: use SafeNormalise where zero is possible.
    void Normalise();
    /// Normalises unless the vector is exactly zero, which stays unchanged.
    void SafeNormalise();
    /// Normalises, then scales to the given length; a zero vector stays zero.
    void SetLength(float length);
    /// A normalised copy; this vector is unchanged.
    CVector GetNormalised() const;

    /// Multiplies in place and returns this vector.
    CVector& Scale(float s);
    /// Multiplies in place and returns a copy of the result.
    CVector operator*=(float s);
    /// Divides in place and returns a copy of the result.
    CVector operator/=(float s);
    /// Adds in place and returns a copy of the result.
    CVector operator+=(CVector v);
    /// Subtracts in place and returns a copy of the result.
    CVector operator-=(CVector v);

    /// This vector scaled by s.
    CVector operator*(float s) const;
    /// This vector multiplied by 1 / s (not divided by s, so it may round differently from /=).
    CVector operator/(float s) const;
    /// Componentwise sum.
    CVector operator+(CVector v) const;
    /// Componentwise difference.
    CVector operator-(CVector v) const;

    /// Dot product.
    float Dot(CVector v) const;
    /// Cross product this x v (right-handed).
    CVector Cross(CVector v) const;

    /// True when every component equals 0 (-0.0 counts as zero, tiny values do not).
    bool IsZero() const { return x == 0.0f && y == 0.0f && z == 0.0f; }
    /// True when all three components are exactly equal.
    bool operator==(const CVector& v) const { return x == v.x && y == v.y && z == v.z; }

    /// Replaces an exactly zero vector by v; any other vector stays.
    void DefaultIfZero(CVector v);
    /// Moves this point vertically onto the plane through q with normal n. False, leaving the point
    /// unchanged, for a vertical plane (n.y == 0).
    bool SetYOnPlane(CVector q, CVector n);
    /// Treating this vector as a direction: the point where the line from p along it meets the
    /// horizontal plane at height h.
    CVector ProjectToHeight(CVector p, float h) const;
    /// Whether x lies in [minX, maxX] and z in [minZ, maxZ], edges included; y is not looked at.
    bool IsInsideXZ(float minX, float minZ, float maxX, float maxZ) const {
        return x >= minX && x <= maxX && z >= minZ && z <= maxZ;
    }
    /// Turns this vector from the frame (dirA, upA) into the frame (dirB, upB), in place, through the
    /// product of the two frames' bases. The result is a true change of frame when (dirA, upA) is the
    /// model frame (kDefaultDirection, kUpVector), as the game always uses it.
    void TransformBetweenFrames(CVector dirA, CVector upA, CVector dirB, CVector upB);
    /// Moves this vector the fraction t of the way to target; returns a copy of the result.
    CVector LerpTowards(CVector target, float t);
};

/// The direction members and locals start from, shared by the whole game.
inline constexpr CVector kDefaultDirection = CVector::DefaultDirection();
/// The world's up vector.
inline constexpr CVector kUpVector{0.0f, 1.0f, 0.0f};

} // namespace zentrix
