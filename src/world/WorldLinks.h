#pragma once

#include "foundation/assets/WorldObjectAsset.h"
#include "world/BoundingVolumeLink.h"
#include "world/CollisionRecorderLink.h"
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
    /// The collision recorder of a world object.
    std::function<std::unique_ptr<ICollisionRecorderLink>()> makeCollisionRecorder;
    /// A bounding volume from an asset's entry (type 0 sphere, 1 box); null: none.
    std::function<std::unique_ptr<IBoundingVolumeLink>(const SBoundingVolumeDesc& description)>
        makeBoundingVolume;
    /// The object of an object kind whose class the world does not make itself yet (active objects, cars,
    /// stunt pieces, pickups, ...); null: none. The registry files it by its kind as it files the real class.
    std::function<std::unique_ptr<CWorldObject>(int kind, int assetId, int lifeMs)> makeObjectOfKind;
    /// What the track file reader builds the track with; null: tracks are not read.
    ITrackBuildLink* trackBuild = nullptr;
    /// Whether the route over the track has a break; empty: no route is known, which counts as a break.
    std::function<bool()> isRouteBroken;
    /// The campaign's unlock stage; empty: 0.
    std::function<int()> unlockStage;
};

} // namespace zentrix
