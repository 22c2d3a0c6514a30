#pragma once

#include "foundation/math/Vector.h"
#include "world/ActiveWorldObject.h"
#include "world/CarLink.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

class CCarAsset;
class CCarPickupHelper;
class CDriver;
class CVornSprite;
class ICarDriverLink;
class IWorldSounds;
struct CDriverControls;

/// The car: an active object on five wheel contact points (0 the centre, 1 and 2 the rear, driven
/// wheels, 3 and 4 the front, steered ones), handled by the values of its car asset and steered by a
/// driver's controls each frame.
///
/// It comes in two set-ups. In the race set (every world but the workshop) the car's own mesh is empty:
/// a body pivot (child 10) carries the body (child 9) and four wheel mounts (children 5..8) with a wheel
/// on each (child 0 of a mount), and the car carries a disable indicator (11) and a pickup indicator
/// (12). Visible motions (steering the wheels, the body's lean, effects) move these children, never
/// the car's own frame, so they never disturb the physics. In the workshop the car's mesh is the
/// workshop body and its four wheels hang on it directly.
///
/// In a started race each car loads its own copy of its car asset, so that tuning and handling changes
/// touch that car only; elsewhere it shares the asset manager's.
class CCarObject : public CActiveWorldObject, public ICarLink {
public:
    static constexpr int kTyreTypes = 3;
    static constexpr int kLiveries = 13;
    /// Children by index.
    static constexpr int kChildWheel = 0;      ///< the wheel on each mount
    static constexpr int kChildFirstMount = 5; ///< mounts 5..8 on the pivot
    static constexpr int kChildBody = 9;       ///< on the pivot
    static constexpr int kChildPivot = 10;     ///< on the car
    static constexpr int kChildDisable = 11;   ///< on the car
    static constexpr int kChildPickup = 12;    ///< on the car
    /// Assets of the children that are no part of the car's record.
    static constexpr int kPivotAsset = 39;
    static constexpr int kDisableIndicatorAsset = 60266;
    static constexpr int kPickupIndicatorAsset = 60269;
    /// The textures on the wheel meshes that the tyre and livery choices replace.
    static constexpr int kLiveryWheelTexture = 60466;
    static constexpr int kWorkshopTyreTexture = 60465;
    static constexpr int kRaceTyreTexture = 60333;
    /// The skin row of the workshop.
    static constexpr int kWorkshopSkinRow = 60020;
    /// How far the front wheels steer (15 degrees).
    static constexpr float kMaxSteeringAngle = 0.2617994f;
    /// Contact points by index.
    static constexpr std::uint32_t kRearLeft = 1;
    static constexpr std::uint32_t kRearRight = 2;
    static constexpr std::uint32_t kFrontLeft = 3;
    static constexpr std::uint32_t kFrontRight = 4;
    /// Driving waits this long after set-up.
    static constexpr int kStartLockMs = 200;
    /// Below this speed the car counts as stopped.
    static constexpr float kStoppedSpeed = 0.1f;
    /// A car that has come to rest takes the throttle again after this long, the brake after the second.
    static constexpr std::uint32_t kThrottleRestMs = 400;
    static constexpr std::uint32_t kBrakeRestMs = 800;
    /// A car respawns at most once in this long, and not this soon after it was made.
    static constexpr std::uint32_t kRespawnGuardMs = 200;
    /// Below this height a car has fallen off the world.
    static constexpr float kFallHeight = -20.0f;
    /// Sounds and particles.
    static constexpr int kRespawnSound = 50026;
    /// Heard by the driver when a pickup is handed to the car.
    static constexpr int kPickupGivenSound = 51093;
    static constexpr int kFirstBumpSound = 51074;
    static constexpr int kFirstCrashSound = 51094;
    static constexpr int kSlideLoopSound = 51055;
    static constexpr int kCrashParticles = 9001;
    static constexpr int kRespawnParticles = 9007;
    static constexpr int kVanishParticles = 9071;
    /// The taunt a hard crash reports.
    static constexpr int kCrashTaunt = 22;
    /// The marker shown above a player's car in the race (game state 15).
    static constexpr int kRaceState = 15;
    static constexpr float kMarkerSize = 4.0f;
    /// Action-request flags the race layer raises for the car (0: a computer driver's first button).
    static constexpr int kActionRequests = 2;
    /// Timed effects by index (7 is never started).
    static constexpr int kEffects = 8;
    static constexpr int kEffectSpin = 0;
    static constexpr int kEffectRumble = 1;
    static constexpr int kEffectRoll = 2;
    static constexpr int kEffectWheelie = 3;
    static constexpr int kEffectInvisible = 4;
    static constexpr int kEffectCrazy = 5;
    static constexpr int kEffectModifiers = 6;

    /// Stunt states: -1 and 0..4 are free (a new state replaces them); the loop and DoD pieces' states
    /// end only when cleared.
    enum EStunt : int {
        kNoStunt = -1,
        kStuntRumble = 0,
        kStuntSpin = 1,
        kStuntCrazy = 2,
        kStuntRoll = 3,
        kStuntWheelie = 4,
        kStuntLoop = 6,
        kStuntDoD = 8
    };

    /// Taunt events the car reports about its own driving.
    enum ETaunt : int {
        kTauntBraking = 3,
        kTauntSlipNegative = 4,
        kTauntSlipPositive = 5,
        kTauntRumbleLight = 6,
        kTauntRumbleHard = 7,
        kTauntAirborne = 8,
        kTauntBoost = 10,
        kTauntBigSpin = 11,
        kTauntSpin = 12,
        kTauntRollingBack = 16,
        kTauntSlow = 19,
        kTauntInvisible = 20,
        kTauntLanding = 27,
        kTauntMoving = 29,
        kTauntStopped = 30
    };
    /// Sounds and particles of the stunts and the tyres.
    static constexpr int kLandingSound = 51040;
    static constexpr int kHardLandingSound = 51041;
    static constexpr int kBrakeSound = 51050;
    static constexpr int kSparkParticles = 9019;
    static constexpr int kCrazySpriteTexture = 9516;
    /// The car whose wheelie lifts the body higher.
    static constexpr int kHighWheelieCar = 60008;

    /// Seven factors on the car's handling, in this order: acceleration, braking, steering, grip, side grip,
    /// top speed, slide angle.
    struct SParamModifiers {
        float acceleration = 0.0f;
        float braking = 0.0f;
        float steering = 0.0f;
        float grip = 0.0f;
        float sideGrip = 0.0f;
        float topSpeed = 0.0f;
        float slideAngle = 0.0f;
    };

    /// A car of the asset id; nothing is made until Init.
    explicit CCarObject(int assetId);
    ~CCarObject() override;

    // ---- set-up ----
    /// The car's set-up from its asset (what it made before goes first): the asset (its own copy in a
    /// started race), the active object, the handling scales, the race set's pivot, body and indicators,
    /// the pickup helper, the wheels, the skin of the current livery, the driving lock and the player
    /// marker; in a started race the car's tint.
    virtual bool Init();
    /// A car's creation by the world is its set-up.
    bool Create() final { return Init(); }
    /// Ends the timed effects, deletes the pickup helper and the car's own asset, then the active object.
    void Destroy() override;
    /// The workshop body's mesh in the workshop; 0 (an empty mesh, the body being a child) elsewhere.
    int GetAssetId() const override;
    /// Race set: the body's skin; workshop: the car's own.
    bool SetSkin(int skin, int assetId) override;
    /// 60221, 60220, then -1.
    int GetExtraAssetId(int i) const override;
    /// The body pivot's frame in world space; the car's own without a pivot.
    CVector BodyDirection() const override;
    CVector BodyUp() const override;
    CVector BodyPosition() const override;
    /// The body pivot mesh's world matrix; the car's own without a pivot.
    void GetWorldMatrix(float* out) const override;

    void AttachWheels();
    void AttachBody();
    void CreateBodyPivot();
    /// The pivot back at the car's centre, looking along -z with y up.
    void ResetBodyPivot();
    void AttachIndicators();

    // ---- driver ----
    /// The driver from now on (null: none); a driver is told its car and the engine sound starts in its
    /// slot.
    void AssignDriver(ICarDriverLink* driver);
    CDriver* GetDriver() const;
    ICarDriverLink* GetDriverLink() const { return m_driver; }
    /// The driver's slot; -1 without a driver.
    int GetDriverSlot() const override;

    // ---- handling, tyres and liveries ----
    CCarAsset* GetCarAsset() const { return m_carAsset; }
    /// Whether the car loaded its own copy of the asset.
    bool OwnsAsset() const { return m_ownAsset != nullptr; }
    float GetAcceleration() const;
    float GetBraking() const;
    float GetTopSpeed() const;
    /// The asset's side grip, which the wheels' sideways grip uses.
    float GetWheelGripFactor() const override;
    /// How far a pit has let the car sink into the ground; its contact points rest that far down until it
    /// is put back or leaves the pit.
    float GetGroundSink() const override { return m_groundSink; }
    void SetGroundSink(float depth) { m_groundSink = depth; }
    /// Changes the tyre type (0..2) and what it tunes; false for another type or the current one.
    bool SetTyreType(int type);
    /// The asset's tyre type; -1 without an asset.
    int GetTyreType() const;
    void ApplyTuning(int type);
    void SetLivery(int livery);
    /// At race set-up: -2 the asset's default livery, -1 none, else that livery on the body.
    void InitLivery(int livery);
    /// In the workshop: livery 0..12 on the wheels and the car; false for another or the current one.
    bool SelectLivery(int livery);
    /// The livery chosen at set-up; -1 none.
    int GetLiveryChoice() const { return m_liveryChoice; }
    /// The asset loaded again for another car id, keeping livery and tyre.
    bool ChangeModel(int assetId);
    /// Swaps a texture on all four wheels; false when the ids are equal or a wheel is missing.
    bool ReplaceWheelTexture(int fromId, int toId);
    /// The texture the tyre type shows on the wheels.
    int GetWheelTextureId() const;
    /// The race set's wheel texture of a tyre type; -1 for another type.
    static int RaceWheelTexture(int type);
    /// How far a workshop wheel of the asset sits above its position.
    static float WorkshopWheelHeight(int wheelAssetId);

    // ---- markers and indicators ----
    /// A player's marker above the car for `ms` (only in the race, for a human in slots 0..3, when none
    /// shows).
    void ShowPlayerMarker(int ms);
    /// The driver's controls read as released for `ms`; the disable indicator shows meanwhile.
    void DisableControls(int ms);
    bool SetDisableIndicatorVisible(bool visible);
    bool SetPickupIndicatorVisible(bool visible);

    // ---- the frame and the physics ----
    /// One frame: counters, controls, drive, brake, steering, wheels, body, horn, respawn checks.
    void Update(unsigned ms) override;
    /// The active object's step, then the drift measure.
    void SimulateStep(unsigned ms) override;
    /// The active object's end of step, then the engine sound's position and level.
    void FinishStep(unsigned ms) override;
    /// The record, then the driver's feedback and the bump or crash sound.
    void RecordCollision(const CVector& direction, float magnitude, int kind, CWorldObject* other) override;
    /// The asset's friction, four times as much when the car is not moving forward.
    float GetFrictionCoefficient() const override;
    /// A wheel, steering 15 degrees at most.
    std::unique_ptr<CContactPoint> CreateContactPoint(const CContactPointDesc& desc) override;

    void Drive(int throttle);
    void Brake(int brake);
    void Steer(int steering, int throttle, unsigned ms);
    void TurnAfterCollision(unsigned ms);
    void UpdateCounters(unsigned ms);
    virtual void AnimateWheels(unsigned ms);
    virtual void LeanBody(unsigned ms);
    /// The horn when button 0 went down and no pickup is held.
    virtual void PlayOneShotSound(const CDriverControls& controls);
    virtual void SetModeIndex(int index) { m_modeIndex = index; }
    /// The slide loop sound starts and stops.
    virtual void StartLoopSound();
    virtual void StopLoopSound();
    /// Whether the car accepts pickups at all: every car with its pickup helper (the jam truck none).
    virtual bool HasPickup() const;

    /// Speed below 0.1.
    bool IsStopped() const;
    /// The length of the mean contact velocity.
    float GetSpeed() const;
    /// The length of the mean contact velocity without its y, negative when not moving forward.
    float GetSignedGroundSpeed() const;
    /// The engine sound's level from the speed and the throttle, smoothed; at least 0.
    float GetEngineLevel(int throttle);
    /// How far the heading turned since the frame's start (signed, radians); 0 while a collision turn
    /// runs.
    float GetRollMeasure() const;
    /// How much the speed grew in the last step, negated when not moving forward.
    float GetPitchMeasure() const;
    float GetSlipAccumulator() const { return m_slipAccumulator; }
    /// Whether action button i (0 or 1) went down this frame.
    bool WasActionPressed(int i) const;

    // ---- respawn ----
    /// Back on the driver's route node, 25 above the ground, at rest and free of collisions for a while:
    /// at once for -1, else after `delayMs`. Ignored within 200 ms of the last respawn or the set-up.
    void Respawn(int delayMs);
    /// Drops a put-back that `Respawn` has set for later.
    void CancelRespawn() { m_respawnCountdownMs = -1; }

    // ---- stunt state and timed effects ----
    /// The special motion the car is in (EStunt).
    int GetStuntState() const { return m_stuntState; }
    /// Takes state `state` when the current one is free (-1, 0..4); false otherwise.
    bool SetStuntState(int state);
    /// No stunt, and the body pivot back at rest.
    void ClearStuntState();
    bool IsNotLooping() const { return m_stuntState != kStuntLoop; }
    /// Turns the body by `angle` about `axis` over `durationMs` (with `ease` fast at first, slowing to
    /// nothing), then puts it back at rest. Refused while a spin, rumble or crazy bounce runs, when the
    /// stunt state is taken, and for a duration not above 0, an angle that is not a number or a zero
    /// axis. Reports taunt 11 for an angle above 12, else 12.
    bool Spin(float angle, int durationMs, const CVector& axis, bool ease);
    /// Shakes the body up to `intensity` high. Refused like the spin and while a boost or grip pickup
    /// runs; the rumble state is taken first, so below speed 0.4 the state stays 0 and nothing shakes.
    bool Rumble(float intensity, int durationMs);
    /// The body rolls with the drift on two wheels.
    bool StartTwoWheelsType0(int durationMs);
    /// A wheelie: the nose climbs while the throttle is held.
    bool StartTwoWheelsType1(int durationMs);
    /// Hides the body (and with `hideWheels` the wheels) and its shadow; refused during a crazy
    /// bounce. A running invisibility starts again.
    bool StartInvisible(int durationMs, bool hideWheels);
    /// The body bounces `height` high with a period of `periodMs`, a sprite above it with
    /// `showSprite`. Refused while a spin, rumble, crazy bounce or invisibility runs, while a pickup is
    /// held, when the stunt state is taken, and for a period not above 0.
    bool StartCrazySteering(int durationMs, int periodMs, float height, bool showSprite);
    /// Scales the handling by the factors for `durationMs`, then puts back exactly what it scaled.
    /// Refused without an asset, while a record runs, while invisible, and for a factor of 0 or one
    /// that is not a number.
    bool ApplyParamModifiers(const SParamModifiers& factors, int durationMs);
    /// Ends effect i when it runs, undoing what its start did.
    void EndEffect(int i);
    void EndAllEffects();
    bool IsEffectActive(int i) const;
    int GetEffectElapsedMs(int i) const;
    int GetEffectDurationMs(int i) const;
    bool IsSpinning() const { return IsEffectActive(kEffectSpin); }
    bool IsCrazySteering() const { return IsEffectActive(kEffectCrazy); }
    bool IsInvisible() const { return IsEffectActive(kEffectInvisible); }
    /// Advances the running effects and ends those whose time has passed.
    void UpdateTimedEffects(unsigned ms);
    /// A taunt report about this car to the race (its taunt queue may drop it).
    void ReportTaunt(int event);
    /// The taunts the car reports about its driving, the landing sounds and the held-control counters.
    void ReportDrivingEvents(const CDriverControls& controls, unsigned ms);
    /// The tyre-slide loop: starts when the steering build-up beats the slide threshold above speed 1.4.
    void UpdateSlideSound(int throttle, int steering, unsigned ms);
    /// Brake smoke, skid marks and smoke while sliding, sparks under a wheelie.
    void UpdateTyreEffects(unsigned ms);
    /// How hard the car must steer before it slides at its current speed.
    float GetSlideThreshold() const;
    /// Two particle systems of `kind` on the car, either side of it, for `ms`.
    void EmitTwinParticles(int kind, int ms);
    /// The asset's current slide angle; 0 without an asset.
    float GetSlideAngle() const;
    /// The workshop's display levels of grip and top speed.
    float GetGripRating() const;
    float GetSpeedRating() const;
    const SParamModifiers& GetModifiers() const { return m_modifiers; }
    float GetTiltRoll() const { return m_tiltRoll; }
    float GetTiltPitch() const { return m_tiltPitch; }
    float GetRumbleIntensity() const { return m_rumbleIntensity; }
    const CVector& GetSpinAxis() const { return m_spinAxis; }
    float GetSpinAngle() const { return m_spinAngle; }
    CVornSprite* GetCrazySprite() const { return m_crazySprite; }
    std::uint32_t GetAirborneMs() const { return m_airborneMs; }
    std::uint32_t GetBrakeHeldMs() const { return m_brakeHeldMs; }
    std::uint32_t GetThrottleHeldMs() const { return m_throttleHeldMs; }
    bool IsSlideActive() const { return m_slideActive; }
    int GetSlideStopMs() const { return m_slideStopMs; }
    int GetSlideMarkMs() const { return m_slideMarkMs; }

    // ---- pickups ----
    CCarPickupHelper* GetPickupHelper() const { return m_pickupHelper.get(); }
    /// Whether a pickup is held.
    bool HoldsPickup() const;
    /// The held pickup's type; -1 none.
    int GetPickupType() const override;
    /// A pickup reaches the car when it has a driver who accepts pickups and the car accepts them.
    bool TakesPickups() const override;
    /// The pickup is held (any held one replaced) and the driver hears it.
    void GivePickup(int type) override;
    /// Ends the running pickup, and drops the held one with `dropHeld`.
    void CancelPickup(bool dropHeld);
    /// No pickup can be used for `ms`.
    void LockPickups(int ms);
    /// The running pickup's type; -1 none.
    int GetActivePickupType() const;

    // ---- what the race sets ----
    /// Where the car stood relative to the start position (set by the race world).
    void SetStartOffset(const CVector& offset) { m_startOffset = offset; }
    const CVector& GetStartOffset() const { return m_startOffset; }
    void SetActionRequest(int i, bool raised);
    bool IsActionRequested(int i) const;

    // ---- state ----
    CWorldObject* GetBodyPivot() const { return m_bodyPivot; }
    CWorldObject* GetBody() const { return m_body; }
    CWorldObject* GetWheel(int i) const {
        return i >= 0 && i < 4 ? m_wheel[static_cast<std::size_t>(i)] : nullptr;
    }
    CWorldObject* GetWheelMount(int i) const {
        return i >= 0 && i < 4 ? m_wheelMount[static_cast<std::size_t>(i)] : nullptr;
    }
    CWorldObject* GetDisableIndicator() const { return m_disableIndicator; }
    CWorldObject* GetPickupIndicator() const { return m_pickupIndicator; }
    CVornSprite* GetPlayerMarker() const { return m_playerMarker; }
    int GetMarkerTimeMs() const { return m_markerTimeMs; }
    int GetDisableTimeMs() const { return m_disableTimeMs; }
    int GetRespawnCountdownMs() const { return m_respawnCountdownMs; }
    int GetStartLockMs() const { return m_startLockMs; }
    std::uint32_t GetAliveMs() const { return m_aliveMs; }
    std::uint32_t GetStoppedMs() const { return m_stoppedMs; }
    std::uint32_t GetFrameCount() const { return m_frameCount; }
    std::uint32_t GetCollisionTurnMs() const { return m_collisionTurnMs; }
    float GetSteeringHold() const { return m_steeringHold; }
    float GetPitchAngle() const { return m_pitchAngle; }
    float GetRollAngle() const { return m_rollAngle; }
    float GetEngineLevelValue() const { return m_engineLevel; }
    bool IsSliding() const { return m_sliding; }
    int GetModeIndex() const { return m_modeIndex; }
    const std::vector<int>& GetTyreTextureIds() const { return m_tyreTextureIds; }
    const std::vector<int>& GetLiveryTextureIds() const { return m_liveryTextureIds; }

private:
    /// The driver's controls of this frame; the released record without a driver or while disabled.
    CDriverControls ReadControls() const;
    IWorldSounds* Sounds() const;
    /// Starts effect i for `durationMs`.
    void StartEffect(int i, int durationMs);
    /// Hides or shows the body and the wheel mounts.
    void SetBodyVisible(bool body, bool wheels);
    /// The per-frame steps of the running effects.
    void UpdateRumble();
    void UpdateCrazyBounce();
    void UpdateRoll();
    void UpdateWheelie(unsigned ms);
    /// The rear wheels get the force (the active object shares it out).
    void PushRearWheels(const CVector& force);
    void RestoreHandling();

    float m_pitchAngle = 0.0f;
    float m_rollAngle = 0.0f;
    float m_groundSink = 0.0f;
    float m_rollScale = 0.0f;
    float m_pitchScale = 0.0f;
    float m_pitchRate = 0.0f;
    float m_tiltRoll = 0.0f;
    float m_tiltPitch = 0.0f;
    float m_wheelDropLimit = 0.0f;
    float m_leanOffsetScale = 0.0f;
    float m_engineLevel = 0.0f;
    float m_slipAccumulator = 0.0f;
    ICarDriverLink* m_driver = nullptr;
    int m_modeIndex = 1;
    CCarAsset* m_carAsset = nullptr;
    std::unique_ptr<CCarAsset> m_ownAsset;
    std::vector<int> m_tyreTextureIds;
    std::vector<int> m_liveryTextureIds;
    std::array<CWorldObject*, 4> m_wheelMount{};
    std::array<CWorldObject*, 4> m_wheel{};
    CWorldObject* m_body = nullptr;
    CWorldObject* m_bodyPivot = nullptr;
    CVornSprite* m_playerMarker = nullptr;
    CWorldObject* m_disableIndicator = nullptr;
    CWorldObject* m_pickupIndicator = nullptr;
    bool m_pickupIndicatorShown = false;
    int m_markerTimeMs = -1;
    int m_disableTimeMs = -1;
    bool m_sliding = false;
    bool m_slideActive = false;
    int m_slideStopMs = 0;
    int m_slideMarkMs = -1;
    std::uint32_t m_collisionTurnMs = 0;
    int m_startLockMs = 0;
    bool m_button0Pressed = false;
    bool m_button1Pressed = false;
    bool m_button0Down = false;
    bool m_button1Down = false;
    float m_acceleration = 0.0f;
    float m_braking = 0.0f;
    std::uint32_t m_frameCount = 0;
    std::uint32_t m_stoppedMs = 0;
    std::uint32_t m_aliveMs = 0;
    float m_steeringHold = 0.0f;
    CVector m_spinAxis{-1.0f, 0.0f, 0.0f};
    float m_spinAngle = 0.0f;
    bool m_spinEase = false;
    int m_crazyPeriodMs = 0;
    float m_crazyHeight = 0.0f;
    CVornSprite* m_crazySprite = nullptr;
    float m_rumbleIntensity = 0.0f;
    /// Whether the invisibility took the car's shadow away (so its end gives it back).
    bool m_shadowHidden = false;
    SParamModifiers m_modifiers;
    /// The seven values the running record scaled, put back at its end.
    std::array<float, 7> m_unmodified{};
    std::unique_ptr<CCarPickupHelper> m_pickupHelper;
    std::array<bool, kEffects> m_effectActive{};
    std::array<int, kEffects> m_effectElapsedMs{};
    std::array<int, kEffects> m_effectDurationMs{};
    std::uint32_t m_brakeHeldMs = 0;
    std::uint32_t m_throttleHeldMs = 0;
    std::uint32_t m_airborneMs = 0;
    int m_stuntState = kNoStunt;
    int m_respawnCountdownMs = -1;
    int m_liveryChoice = -1;
    CVector m_startOffset;
    std::array<std::uint8_t, kActionRequests> m_actionRequests{};
};

} // namespace zentrix
