#pragma once

#include "engine/Entity.h"

namespace zentrix {

/// A frame-tree node with an orientation: three rows giving its right axis, its up axis and minus its
/// viewing direction in the parent's space (a frame looks along its local -z).
class CFrame : public CEntity {
public:
    /// A root frame at the origin, unrotated.
    CFrame();
    /// An unrotated frame that becomes the owner's first child (and is owned by it).
    explicit CFrame(CEntity* owner);

    CEntity* Clone(CEntity* newParent, void* unused = nullptr) override;
    int GetType() const override { return kKindFrame; }
    float* GetLocalMatrix(float* out) const override;
    void PostMultiplyLocal(float* m) const override;
    void PreMultiplyLocal(float* m) const override;

    /// Takes orientation and position from an affine matrix in the parent's space.
    virtual void SetMatrix(const float* m);
    /// Looks along the direction with the given up; an up parallel to the direction leaves zero right
    /// and up rows.
    virtual void SetOrientation(float dx, float dy, float dz, float ux, float uy, float uz);
    /// Looks along the direction with up (0, 1, 0).
    virtual void SetDirection(float x, float y, float z);
    /// Looks along a direction with an up, both given in the reference frame's space (null: world).
    virtual void SetOrientationRelative(const CEntity* reference, float dx, float dy, float dz, float ux,
                                        float uy, float uz);
    /// Looks along a direction given in the reference frame's space, with up (0, 1, 0) there.
    virtual void SetDirectionRelative(const CEntity* reference, float x, float y, float z);
    /// The viewing direction and up axis seen from the reference frame (null: world); either output may
    /// be null.
    virtual void GetOrientationRelative(const CEntity* reference, float* direction, float* up) const;
    /// The viewing direction seen from the reference frame.
    virtual void GetDirectionRelative(const CEntity* reference, float* direction) const;
    /// The viewing direction and up axis in the parent's space.
    virtual void GetOrientation(float* direction, float* up) const;
    /// The viewing direction in the parent's space.
    virtual void GetDirection(float* direction) const;

protected:
    /// Copies the orientation, then finishes the copy as every node does.
    void FinishFrameClone(CFrame* copy) const;

    float m_orientation[9] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
};

} // namespace zentrix
