#pragma once

#include "foundation/math/Vector.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace zentrix {

class CCameraController;
class CWorldObject;

/// Drives the engine's camera during a race through one race camera at a time: each tick the camera
/// works out where to look from, and the manager places the engine camera there, or moves it there over
/// a time when the camera changes or jumps. The race world owns it, switches cameras and ticks it.
class CRaceCamMan {
public:
    /// Camera types: none, the chase camera, the lap-of-honour orbit.
    static constexpr int kNone = -1;
    static constexpr int kChase = 0;
    static constexpr int kLapOfHonour = 2;
    /// The time of the move that catches the chase camera up after a jump.
    static constexpr int kCatchUpMs = 500;

    /// Where the camera is, where it looks and which way is up.
    struct SCamState {
        CVector position;
        CVector direction;
        CVector up;
    };

    /// The race's car in a car slot 0..4, or null.
    using CarLookup = std::function<CWorldObject*(int slot)>;

    /// A race camera: it resets to its start, and makes a state for a tick of `ms`, or none (false)
    /// when there is nothing to look at.
    class CCamInterface {
    public:
        virtual ~CCamInterface() = default;
        virtual void Reset() = 0;
        virtual bool Update(SCamState& state, int ms) = 0;
        virtual int GetType() const = 0;
    };

    /// Follows the race's first car from behind, looking the way the engine camera looked when the
    /// race started.
    class CLookAheadCam : public CCamInterface {
    public:
        /// How far back along the start view the camera stays.
        static constexpr float kDistance = 148.0f;
        explicit CLookAheadCam(const CRaceCamMan& manager) : m_manager(manager) {}
        void Reset() override;
        bool Update(SCamState& state, int ms) override;
        int GetType() const override { return kChase; }
        const CVector& GetPreviousPosition() const { return m_previous; }

    private:
        const CRaceCamMan& m_manager;
        CWorldObject* m_car = nullptr;
        CVector m_previous;
        CVector m_current;
    };

    /// Circles the race's cars, high above them, wobbling in and out and up and down.
    class CLapOfHonourCam : public CCamInterface {
    public:
        static constexpr float kOrbitMs = 28900.0f;
        static constexpr float kWobbleMs = 15000.0f;
        static constexpr float kBobMs = 4500.0f;
        static constexpr float kRadius = 170.0f;
        static constexpr float kWobble = 30.0f;
        static constexpr float kHeight = 130.0f * 0.6f;
        static constexpr float kBob = 2.0f;
        explicit CLapOfHonourCam(const CRaceCamMan& manager) : m_manager(manager) {}
        void Reset() override { m_elapsed = 0; }
        bool Update(SCamState& state, int ms) override;
        int GetType() const override { return kLapOfHonour; }

    private:
        const CRaceCamMan& m_manager;
        std::int64_t m_elapsed = 0;
    };

    /// Race cameras for the engine camera `camera` (null: nothing is moved), following the cars that
    /// `cars` hands out (empty: the world registry's car slots).
    explicit CRaceCamMan(CCameraController* camera, CarLookup cars = {});
    virtual ~CRaceCamMan();
    CRaceCamMan(const CRaceCamMan&) = delete;
    CRaceCamMan& operator=(const CRaceCamMan&) = delete;

    /// Switches to camera `type` (kNone: none), blended over `blendMs` or cut; nothing when that type is
    /// the current one. The temporary flag and duration are taken and not used.
    void SetCamera(int type, bool blend, int blendMs, bool temporary = false, int temporaryMs = 0);
    /// One race tick: the camera's new state placed on the engine camera, unless it is moving.
    void Update(int ms);
    /// Keeps the engine camera's direction and up vector as the race starts.
    void CaptureStartView();
    /// Whether the engine camera runs a timed move.
    bool IsCameraMoving() const;

    /// The current camera's type (kNone without one).
    int GetCameraType() const { return m_camera ? m_camera->GetType() : kNone; }
    /// The duration of the last timed move (-1: none since the camera was cut to).
    int GetMoveDuration() const { return m_moveDuration; }
    /// Time spent on the current camera.
    int GetElapsed() const { return m_elapsed; }
    const CVector& GetStartDirection() const { return m_startDirection; }
    const CVector& GetStartUp() const { return m_startUp; }
    const CVector& GetLastPosition() const { return m_lastPosition; }
    CWorldObject* GetCar(int slot) const;

    /// The frames of a timed move of `ms` (the engine's camera counts 30 frames a second).
    static std::uint32_t MoveFrames(int ms);

private:
    void StartTimedMove(const SCamState& state, int ms);
    void Apply(const SCamState& state, int ms);

    CCameraController* m_engineCamera;
    CarLookup m_cars;
    int m_moveDuration = -1;
    CVector m_lastPosition;
    CVector m_lastDirection;
    std::unique_ptr<CCamInterface> m_camera;
    CVector m_startDirection{0.0f, 0.0f, 1.0f};
    CVector m_startUp{0.0f, 1.0f, 0.0f};
    int m_elapsed = 0;
};

} // namespace zentrix
