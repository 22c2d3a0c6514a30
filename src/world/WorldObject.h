#pragma once

#include "foundation/math/Vector.h"
#include "render/ParticleServices.h"
#include "render/ShadowOwner.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace zentrix {

class CAnimator;
class CBoundingVolume;
class CCollisionRecorder;
class CSpriteSet;
class CVornMesh;
class CWorldObjectAsset;
class IEventControllerLink;

/// The base of everything placed in a world: an asset bound to a mesh that hangs under the world root
/// frame, with a position, direction and up vector kept in step with the mesh, the sprites and the
/// bounding volumes; a life time, an animation, an event controller and a collision recorder, run
/// every tick; child objects hung under its mesh. Made by the world registry's factory, which then
/// calls Create.
class CWorldObject : public IShadowOwner, public IParticleOwner {
public:
    /// The collision pause that lasts until no active object touches the object.
    static constexpr std::uint32_t kPausedWhileTouched = 0xFFFFFFFFu;
    /// Highlight modes.
    enum EHighlight : std::uint32_t {
        kHighlightSteady = 0,
        kHighlightFlash1 = 1,
        kHighlightFlash2 = 2,
        kHighlightNone = 3
    };
    /// Collision kinds: an object's own track check (and a plain object's kind), an active object meeting a
    /// piece in the world's piece test, a contact answered only at the end of the step, and two active
    /// objects meeting (an active object's kind).
    enum ECollisionKind : int {
        kCollisionTrack = 1,
        kCollisionPiece = 2,
        kCollisionDeferred = 3,
        kCollisionObject = 5
    };
    /// The period of a flashing highlight in ms.
    static constexpr int kFlashPeriod = 2000;
    /// The most bounding volumes an object keeps.
    static constexpr int kMaxBoundingVolumes = 5;
    /// Record fields read for every object.
    static constexpr int kFieldName = 61;
    static constexpr int kFieldAnimation = 63;
    static constexpr int kFieldDefaultSkin = 150;
    static constexpr int kFieldFirstSkin = 151;
    static constexpr int kFieldShadowTexture = 364;
    /// The error manager's channel for world objects ("WorldObject.log").
    static constexpr int kLogChannel = 7;

    /// An object of asset `assetId` (older ids give their newer type id) with a life of `lifeMs` (0 or
    /// less: unlimited); a child of `parent` at `childIndex`, or top-level (null, -1). No mesh until
    /// Create.
    CWorldObject(int assetId, int lifeMs, CWorldObject* parent = nullptr, int childIndex = -1);
    /// Destroy, then the children, mesh, animator, sprites, particle systems and shadow go.
    ~CWorldObject() override;
    CWorldObject(const CWorldObject&) = delete;
    CWorldObject& operator=(const CWorldObject&) = delete;

    /// Takes the asset, the animation, the mesh, the event controller, the collision recorder and the
    /// bounding volumes; true.
    virtual bool Create();
    /// Drops the bounding volumes, the event controller and the recorder; the mesh, animator, sprites
    /// and children stay.
    virtual void Destroy();
    /// The id the asset reports (its data id 50); -1 without an asset.
    virtual int GetAssetId() const;
    /// Turns the object to look along `direction` with `up`, made perpendicular to it.
    virtual void SetOrientation(const CVector& direction, const CVector& up);
    virtual void SetDirectionVector(const CVector& direction);
    virtual void SetDirection(float x, float y, float z);
    virtual CVector Direction() const { return m_direction; }
    virtual void GetDirection(CVector& out) const { out = m_direction; }
    virtual CVector Up() const { return m_up; }
    /// The direction of the visible body (a car's leans on its own).
    virtual CVector BodyDirection() const { return m_direction; }
    virtual CVector BodyUp() const { return m_up; }
    /// The mesh frame's world matrix: 16 floats, row vectors.
    void GetWorldMatrix(float* out) const override;
    /// Moves the object, its mesh, volumes and sprites; nothing when it is there already.
    virtual void SetPositionVector(const CVector& position);
    virtual void SetPosition(float x, float y, float z);
    virtual CVector Position() const { return m_position; }
    virtual void GetPosition(CVector& out) const { out = m_position; }
    virtual CVector BodyPosition() const { return m_position; }
    /// Turns direction and up about an axis by an angle in radians.
    virtual void Rotate(const CVector& axis, float angle);
    /// One tick: highlight, life, animation, events, collision pause, children, sprites.
    virtual void Update(unsigned ms);
    /// The object's own test against the track; nothing for a plain object.
    virtual void CheckTrackCollision(unsigned /*ms*/) {}
    /// A collision with `other`; `contact` points from the other object towards this one.
    virtual void OnCollision(const CVector& contact, int kind, CWorldObject* other);
    /// Hands a contact to the collision recorder.
    virtual void RecordCollision(const CVector& direction, float magnitude, int kind, CWorldObject* other);
    /// Called for a track contact that persists; nothing for a plain object.
    virtual void ContactHook(const CVector& /*contact*/, int /*kind*/, CWorldObject* /*other*/) {}
    /// Drops every pointer to `object`, which is leaving the world: the contacts that name it, the
    /// children's too.
    virtual void ForgetObject(const CWorldObject* object);
    /// Swaps the engine texture of texture asset `fromId` for that of `toId` on the mesh tree; true when
    /// any face changed.
    virtual bool ReplaceTexture(int fromId, int toId);
    /// Replaces the textures of the current skin by those of `skin` (lists in data field 151 + skin of
    /// asset `assetId`, field 150 for the default skin); true when every replacement succeeded.
    virtual bool SetSkin(int skin, int assetId);
    /// The i-th further asset the object uses; -1 ends the list.
    virtual int GetExtraAssetId(int /*i*/) const { return -1; }
    /// Makes a new mesh from mesh asset `meshId` (an empty one below 1, or when the mesh does not load);
    /// true.
    virtual bool SetMesh(int meshId);

    // IShadowOwner, IParticleOwner
    int GetTypeId() const override { return m_typeId; }
    bool IsDead() const override { return m_dead; }
    void GetWorldRotation(float* out) const override;
    bool GetVelocity(CVector& /*out*/) const override { return false; }

    void SetDead() { m_dead = true; }
    CVornMesh* GetMesh() const { return m_mesh.get(); }
    const CWorldObjectAsset* GetAsset() const { return m_asset; }
    IEventControllerLink* GetEventController() const { return m_events.get(); }
    CCollisionRecorder* GetCollisionRecorder() const { return m_recorder.get(); }
    const std::vector<std::unique_ptr<CBoundingVolume>>& GetBoundingVolumes() const { return m_volumes; }
    CSpriteSet* GetSpriteSet() const { return m_spriteSet.get(); }
    int GetCollisionKind() const { return m_collisionKind; }
    bool IsCreated() const { return m_created; }
    int GetLifeTime() const { return m_lifeTime; }

    /// No collisions for `ms` milliseconds (kPausedWhileTouched: until no active object touches it).
    void SetCollisionPause(std::uint32_t ms) { m_pause = ms; }
    std::uint32_t GetCollisionPause() const { return m_pause; }
    bool IsCollisionPaused() const { return m_pause != 0; }

    void SetAnimPlaying(bool playing) { m_animPlaying = playing; }
    bool IsAnimPlaying() const { return m_animPlaying; }
    /// Starts animation `id` from its beginning and lets it play.
    void SelectAnimation(int id);
    /// The running animation's id; -1 without an animator.
    int GetCurrentAnimation() const;
    /// The animation's frame value; -1.0 without an animator.
    float GetAnimFrame() const;
    CAnimator* GetAnimator() const { return m_animator.get(); }

    /// A plain child object of asset `assetId` at `childIndex`, its mesh hung under this one's; false
    /// when that index is taken.
    bool AddChild(int assetId, int childIndex);
    /// The first child at the index, or null.
    CWorldObject* GetChild(int childIndex) const;
    CWorldObject* GetParent() const { return m_parent; }
    int GetChildIndex() const { return m_childIndex; }

    /// Switches the highlight (EHighlight); nothing when the mode is the current one.
    void SetHighlight(std::uint32_t mode);
    std::uint32_t GetHighlightMode() const { return m_highlightMode; }
    int GetHighlightTimer() const { return m_highlightTimer; }
    int GetSkin() const { return m_skin; }

    /// Whether the volumes of two objects meet; never while either's collision pause runs or either has
    /// no volume.
    static bool BoundingVolumesIntersect(const CWorldObject& object, const CWorldObject& other);
    /// Whether any volume of the object meets `volume`; the object's collision pause does not count.
    static bool VolumesMeet(const CWorldObject& object, CBoundingVolume& volume);
    /// The type id an asset id stands for (older ids of some pieces have newer ones).
    static int TypeIdOf(int assetId);
    /// Number of live world objects.
    static int LiveCount();

protected:
    void SetCollisionKind(int kind) { m_collisionKind = kind; }
    void SetCreated(bool created) { m_created = created; }
    /// No skin counts as applied: the next SetSkin replaces the default skin's textures.
    void ForgetSkin() { m_skin = -1; }
    /// Logs "<message> - From the world object <name>" to the world objects' log.
    void LogProblem(const std::string& message) const;

private:
    void LoadAnimation();
    void UpdateHighlight(unsigned ms);
    void UpdateCollisionPause();

    std::unique_ptr<CVornMesh> m_mesh;
    std::unique_ptr<CSpriteSet> m_spriteSet;
    std::vector<std::unique_ptr<CBoundingVolume>> m_volumes;
    std::unique_ptr<CCollisionRecorder> m_recorder;
    int m_collisionKind = -1;
    bool m_created = false;
    std::uint32_t m_pause = 0;
    CWorldObjectAsset* m_asset = nullptr;
    CVector m_position;
    CVector m_direction;
    CVector m_up;
    int m_typeId;
    std::unique_ptr<CAnimator> m_animator;
    std::list<std::unique_ptr<CWorldObject>> m_children;
    CWorldObject* m_parent;
    int m_childIndex;
    std::unique_ptr<IEventControllerLink> m_events;
    int m_skin = -1;
    bool m_animPlaying = false;
    bool m_dead = false;
    std::uint32_t m_lifeElapsed = 0;
    int m_lifeTime;
    int m_highlightTimer = -1;
    bool m_flashing = false;
    std::uint32_t m_highlightMode = kHighlightNone;
};

} // namespace zentrix
