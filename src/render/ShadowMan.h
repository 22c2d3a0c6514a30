#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "foundation/base/ManagerInterface.h"
#include "foundation/math/Vector.h"
#include "render/GroundHint.h"

namespace zentrix {

class CTexture;
class CVornMesh;
class IRenderAssets;
class IShadowOwner;
class IShadowWorld;

/// Blob shadows under world objects and the pooled skid marks of cars: textured quads under the race
/// world's root frame, laid on the ground once per frame.
class CShadowMan : public CManagerInterface {
public:
    /// Record fields of a type's shadow: texture id, offset, size (x and z).
    static constexpr int kFieldTexture = 364;
    static constexpr int kFieldOffset = 365;
    static constexpr int kFieldSize = 366;
    /// Skid marks kept when nothing else is asked for.
    static constexpr int kDefaultSkidMarks = 70;
    /// The most skid marks a pool holds.
    static constexpr int kMaxSkidMarks = 1024;
    /// Corners farther apart in height than this lie flat at the lowest one.
    static constexpr float kMaxStep = 5.0f;
    /// Height of a quad above the ground.
    static constexpr float kLift = 0.5f;

    /// What a type's shadow looks like.
    struct SDescription {
        int typeId = 0;
        int textureId = 0;
        float sizeX = 0.0f;
        float sizeZ = 0.0f;
        CVector offset;
        bool valid = false;
    };

    /// One quad on the ground under its owner.
    class CShadow {
    public:
        /// A quad of the description for the owner (may be null), hung under the world frame.
        CShadow(const SDescription& description, IShadowOwner* owner, IRenderAssets& assets,
                IShadowWorld& world);
        CShadow(const CShadow&) = delete;
        CShadow& operator=(const CShadow&) = delete;
        virtual ~CShadow();

        /// Lays the corners on the ground under the owner.
        virtual void Update();

        IShadowOwner* GetOwner() const { return m_owner; }
        /// The quad; null when the texture was missing.
        CVornMesh* GetMesh() const { return m_mesh.get(); }
        const SDescription& GetDescription() const { return m_description; }
        bool IsBlended() const { return m_blended; }

        static int LiveCount();

    protected:
        /// Lays the corners, each moved by (dx, dz) in the owner's space.
        void Lay(float dx, float dz);

        IShadowOwner* m_owner;
        std::unique_ptr<CVornMesh> m_mesh;
        SDescription m_description;
        CGroundHint m_groundHint;
        CTexture* m_texture = nullptr;
        bool m_blended = true;
        IShadowWorld& m_world;
    };

    /// A skid mark: a shadow placed once at a point of a car and left there.
    class CCarSkidMark : public CShadow {
    public:
        /// A hidden mark without owner.
        CCarSkidMark(const SDescription& description, IRenderAssets& assets, IShadowWorld& world);
        ~CCarSkidMark() override;

        /// Lays the mark under the car's point (in the car's space) and shows it.
        void Place(IShadowOwner* car, CVector point);
        /// No owner, point zero, hidden.
        void Reset();
        /// Does nothing: a mark stays where it was placed.
        void Update() override {}

        CVector GetPoint() const { return m_point; }

        static int LiveCount();

    private:
        CVector m_point;
    };

    /// The skid-mark texture of each world theme (jungle, ice, desert, city).
    static constexpr int kSkidTextures[4] = {6133, 6131, 6132, 6130};
    /// The points of a car's space where its two skid marks are laid, in this order.
    static constexpr CVector kSkidPoints[2] = {CVector(1.5f, 0.0f, 2.6f), CVector(-1.5f, 0.0f, 2.6f)};

    /// The manager over the assets and worlds (not owned; both must outlive it, and the world frame must
    /// outlive every shadow). Becomes the instance.
    CShadowMan(IRenderAssets& assets, IShadowWorld& world);
    CShadowMan(const CShadowMan&) = delete;
    CShadowMan& operator=(const CShadowMan&) = delete;
    ~CShadowMan() override;

    /// The one shadow manager; null while there is none.
    static CShadowMan* GetInstance();

    int StartManager() override;
    /// Deletes every shadow; the skid marks stay.
    int StopManager() override;

    /// Gives the object a shadow when its type has one, in place of any it had (then none when its type
    /// has no shadow); true also while shadows are off.
    bool CreateShadowFor(IShadowOwner* object);
    /// Deletes the object's first shadow, also while shadows are off (its owner is going); false when it
    /// has none, true while shadows are off.
    bool RemoveShadowFor(IShadowOwner* object);
    /// Lays every shadow on the ground (once per frame).
    void UpdateShadows();
    /// Lays the car's two skid marks from the oldest marks of the pool; nothing with fewer than 3.
    bool AddSkidMark(IShadowOwner* car);
    /// A new pool of hidden marks for the current world theme.
    void ResetSkidMarks();
    /// The pool size (clamped to 0..kMaxSkidMarks), then a new pool.
    void SetSkidMarkCount(int n);
    void SetShadowsOff(bool off) { m_shadowsOff = off; }
    bool AreShadowsOff() const { return m_shadowsOff; }

    int GetSkidMarkCount() const { return m_poolSize; }
    const std::list<std::unique_ptr<CShadow>>& GetShadows() const { return m_shadows; }
    /// Oldest first.
    const std::list<std::unique_ptr<CCarSkidMark>>& GetSkidMarks() const { return m_skidMarks; }
    std::size_t GetCachedDescriptionCount() const { return m_descriptions.size(); }

    static int LiveCount();

private:
    const SDescription& FindDescription(int typeId);
    SDescription SkidMarkDescription() const;

    IRenderAssets& m_assets;
    IShadowWorld& m_world;
    std::list<SDescription> m_descriptions;
    std::list<std::unique_ptr<CShadow>> m_shadows;
    std::list<std::unique_ptr<CCarSkidMark>> m_skidMarks;
    int m_poolSize = kDefaultSkidMarks;
    bool m_shadowsOff = false;
};

} // namespace zentrix
