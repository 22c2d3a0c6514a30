#pragma once

namespace zentrix {

class CTrackObject;
class CWorldObject;

/// One cell of the track grid. A cell is empty when its height is -1.0 (no ground) and it names no
/// piece, object or owner.
struct CGridCell {
    /// Ground height; -1.0 = the cell has no ground.
    float height = -1.0f;
    /// The track piece anchored on this cell (set only on the anchor cell; not owned).
    CTrackObject* piece = nullptr;
    /// The ground object that carries the cell's height (not owned).
    CWorldObject* object = nullptr;
    /// For the other cells a multi-cell piece covers: its anchor cell.
    CGridCell* owner = nullptr;
};

} // namespace zentrix
