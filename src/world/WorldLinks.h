#pragma once

#include "foundation/math/Vector.h"
#include "world/EventControllerLink.h"
#include "world/SpawningManLink.h"

#include <functional>
#include <memory>

namespace zentrix {

class CWorldMan;
class CWorldObject;
class ITrackBuildLink;
class IWorldServices;

/// What the world is made with: the services below it and the makers of the parts that come from the
/// layers above it (the screen worlds, the event controllers) or from world parts still to be built.
/// Every member may be empty: the part is then absent.
struct SWorldLinks {
    IWorldServices* services = nullptr;
    /// The world manager of a world id (0..14 but 3, which the race world also serves); null: none.
    std::function<std::unique_ptr<CWorldMan>(int worldId)> makeWorld;
    /// The spawning manager of the shared world.
    std::function<std::unique_ptr<ISpawningManLink>()> makeSpawningMan;
    /// The event controller of a world object.
    std::function<std::unique_ptr<IEventControllerLink>(CWorldObject& owner)> makeEventController;
    /// An object made in place of the world's own class for an object kind (doubles, or a kind whose
    /// class the world does not make); null: the world's own class, or none. The registry files it by
    /// its kind as it files the real class; cars and the jam truck are active objects
    /// (`CActiveWorldObject`) or they join no active list.
    std::function<std::unique_ptr<CWorldObject>(int kind, int assetId, int lifeMs)> makeObjectOfKind;
    /// What the track file reader builds the track with; null: tracks are not read.
    ITrackBuildLink* trackBuild = nullptr;
    /// Whether the route over the track has a break; empty: no route is known, which counts as a break.
    std::function<bool()> isRouteBroken;
    /// Among the route nodes on the grid tile of a position, the one fewest route steps from the
    /// reference node; -1 for none. Empty: none is ever found.
    std::function<int(const CVector& position, int reference)> findNearestNodeOnTile;
    /// The campaign's unlock stage; empty: 0.
    std::function<int()> unlockStage;
    /// Tells the editor's panel the grid size (true: 16 x 16) and gives its answer; empty: true.
    std::function<bool(bool large)> applyGridSize;
};

} // namespace zentrix
