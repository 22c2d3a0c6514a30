#pragma once

#include "construct/WorldConstructMan.h"
#include "foundation/math/Vector.h"

namespace zentrix {

class CWorldGrid;

/// The base of the editor's three edit modes: whether the mode is on, the editor it serves and the
/// pointer image it shows. Each frame the editor calls the current mode's TrackCursor; a left click on
/// the 3D view its Act, a right click its AltAct.
class CWorldConstructMan::CCursorMode {
public:
    /// Pointer images: the eraser's, and the add and pick-up modes'.
    static constexpr int kEraserPointer = 28000;
    static constexpr int kHandPointer = 28001;

    explicit CCursorMode(CWorldConstructMan& owner) : m_owner(&owner) {}
    virtual ~CCursorMode() = default;
    CCursorMode(const CCursorMode&) = delete;
    CCursorMode& operator=(const CCursorMode&) = delete;

    /// On; the pointer is shown.
    virtual void Activate();
    /// Off.
    virtual void Deactivate() { m_active = false; }
    /// Follows the pointer.
    virtual void TrackCursor(unsigned ms) = 0;
    /// The left click.
    virtual void Act() = 0;
    /// The right click; the left click's action unless a mode has its own.
    virtual void AltAct() { Act(); }

    bool IsActive() const { return m_active; }
    /// Stores the pointer image and shows it.
    void SetPointerId(int id);
    int GetPointerId() const { return m_pointerId; }

    /// The point on the ground under the pointer: the ray from the camera through the pointer meets the
    /// ground at height 0, or the highest raised cell it crosses inside that cell's square.
    CVector GetPointUnderMouse() const;
    /// The centre of the cell holding the point, at height 0.
    static CVector SnapToTile(const CVector& point);
    /// A cell index held as a float (-1.0 and beyond the grid included) as a grid index; kNoIndex for a
    /// negative one.
    static std::uint32_t CellIndex(float cell);

protected:
    CWorldConstructMan& Owner() const { return *m_owner; }
    /// The current grid; null without a shared world.
    static CWorldGrid* Grid();

private:
    bool m_active = false;
    CWorldConstructMan* m_owner;
    int m_pointerId = 0;
};

} // namespace zentrix
