#pragma once

namespace zentrix {

/// What the shadow manager reads of a world object (a car included) that casts a shadow or lays skid
/// marks.
class IShadowOwner {
public:
    virtual ~IShadowOwner() = default;
    /// The object's type id, which keys its shadow description.
    virtual int GetTypeId() const = 0;
    /// The object's world matrix: 16 floats, row vectors, translation in row 3.
    virtual void GetWorldMatrix(float* out) const = 0;
};

} // namespace zentrix
