#pragma once

#include "app/RaceSetup.h"
#include "foundation/base/ManagerInterface.h"
#include "foundation/math/Vector.h"
#include "world/WorldLinks.h"

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string_view>
#include <vector>

namespace zentrix {

class CActiveWorldObject;
class CBoundingVolume;
class CFrame;
class CWorldGrid;
class CWorldObject;
class IRaceWorldLink;
class IWorldServices;
class IWorldTopographyLink;

/// The base of the world managers, one per game screen, and through its static part the world registry:
/// the current world, the world switch, and what all worlds share (the objects, the active objects, the
/// five car slots, the track grid, the world root frame, the base plate and the spawning manager), with
/// the object factory and the removal of objects. One world is current at a time, or none.
class CWorldMan : public CManagerInterface {
public:
    /// World ids.
    enum EWorldId : int {
        kNoWorld = -1,
        kWorkshop = 0,
        kRace = 1,
        kConstruct = 2,
        kLapOfHonour = 3, ///< the race world again, running the last race once more
        kMainScreen = 4,
        kMainScreen2 = 5,
        kPreRace = 6,
        kWorldMap = 7,
        kTrackSelector = 8,
        kMultiPlayer = 9,
        kDriverInfo = 10,
        kOptions = 11,
        kController = 12,
        kVideoPlay = 13,
        kStartUp = 14
    };
    static constexpr int kWorldCount = 15;
    static constexpr int kCarSlots = 5;
    /// Object kinds the factory knows (data id 0's format, through the asset manager).
    enum EObjectKind : int {
        kKindWorldObject = 4,
        kKindActive = 5,
        kKindCar = 6,
        kKindTrack = 7,
        kKindBarrel = 11,
        kKindPickup = 14,
        kKindLoop = 15,
        kKindDoD = 17,
        kKindSideForce = 18,
        kKindTimedDeath = 19,
        kKindCannon = 20,
        kKindSplodge = 21,
        kKindJamTruck = 22,
        kKindWater = 23
    };
    /// The slide-out index of the lap-of-honour panel.
    static constexpr int kLapOfHonourPanel = 14;
    /// The game state of the lap of honour.
    static constexpr int kLapOfHonourState = 18;

    using TObjectList = std::list<std::unique_ptr<CWorldObject>>;
    using TActiveList = std::list<CActiveWorldObject*>;

    /// A manager of no world yet; the current world becomes none.
    CWorldMan();
    ~CWorldMan() override;
    CWorldMan(const CWorldMan&) = delete;
    CWorldMan& operator=(const CWorldMan&) = delete;

    int StartManager() override { return Create(); }
    int StopManager() override { return Destroy(); }

    /// Starts the manager; 0. Worlds that set up the shared world call InitSharedWorld here.
    virtual int Create();
    /// Stops the manager; 0. Worlds that set up the shared world call FreeSharedWorld here.
    virtual int Destroy();
    /// The base removes dead objects and advances the spawning manager.
    virtual void Tick(unsigned ms);
    /// The world becomes current; nothing in the base.
    virtual void Activate() {}
    /// The world stops being current; the base clears the world (ClearWorld).
    virtual void Deactivate();
    /// Whether the world may become current; true in the base.
    virtual bool CanActivate() { return true; }
    /// Before the tick of each frame; nothing in the base.
    virtual void PreFrame() {}
    /// One frame while current: PreFrame, then the base Tick (unless a timer drives the ticks).
    virtual void Frame(unsigned ms);

    /// Sets up the shared world once: grid, spawning manager, no objects, the world root frame, five free
    /// car slots. False when the grid cannot be made.
    bool InitSharedWorld();
    /// Frees the shared world set up before: deactivates this world, deletes the grid, the objects and
    /// the spawning manager. True.
    bool FreeSharedWorld();

    // ---- the registry ----
    /// What the worlds are made with; set before CreateWorlds (and before objects are made).
    static void SetLinks(SWorldLinks links);
    static const SWorldLinks& GetLinks();
    static IWorldServices* GetServices();

    /// Makes the fourteen world managers and the shadow manager and starts them; false (and nothing
    /// left) when one of them fails.
    static bool CreateWorlds();
    /// Deactivates, stops and deletes every world manager, then the shadow manager; safe to call again.
    static void DestroyWorlds();
    /// The current world's frame, then the shadows.
    static void FrameCurrentWorld(unsigned ms);
    /// The world switch: makes `worldId` current. True when it is (or already was) current; false for an
    /// unknown id or a world that refuses. The message queue is emptied on every change asked for.
    static bool SetCurrentWorld(int worldId);
    static int GetCurrentWorldId();
    /// The current world's manager; null for none.
    static CWorldMan* GetCurrentWorld();
    /// The manager of a world id (the race world for 3); null when it does not exist.
    static CWorldMan* GetWorld(int worldId);
    /// The race world's ground while a race has built one; null otherwise.
    static IWorldTopographyLink* GetRaceTopography();
    /// The race world as the cars reach it; null when there is none.
    static IRaceWorldLink* GetRaceWorld();

    /// A new object of the asset's kind at (x, y, z) looking along +z, filed in the world; an active
    /// object created in the race worlds stands on the ground. Null for an asset of no known kind.
    static CWorldObject* CreateWorldObject(int assetId, float x, float y, float z, int lifeMs);
    /// Takes an object out of the world and deletes it: its particle systems, its place in the lists,
    /// car slots and grid, the spawning manager's records and the base plate go with it. False (nothing
    /// done) for an object that is not in the world.
    static bool RemoveObject(CWorldObject* object);
    /// Whether the object is still one of the world's; compares the address only, so a pointer kept
    /// from an earlier frame may be asked about after its object was deleted.
    static bool IsInWorld(const CWorldObject* object);
    /// Removes every object.
    static void DeleteAllObjects();
    /// Removes the particle systems, the track and every object.
    static void ClearWorld();
    /// Removes every piece and ground object from the grid and the world (nothing without a grid).
    static void RemoveTrack();
    /// Reads a track file of a directory slot into the grid, the old track removed first. False when the
    /// file is missing, larger than a track image, or refused by the reader (the grid is then empty).
    static bool LoadTrack(std::string_view fileName, int slot);
    /// Writes the grid's track image to a file of a directory slot; false when the write fails.
    static bool SaveTrack(std::string_view fileName, int slot);
    /// Rebuilds the track in the pieces of another theme (the theme's filler left out); nothing for the
    /// current theme.
    virtual void SetTheme(int theme);
    /// Moves the track to a grid of 8 x 8 (index 0) or 16 x 16 cells (1), dropping what no longer fits.
    static void SetGridSize(int index);
    /// Stores the grid size index and tells the engine's lights and the editor's panel; the panel's answer
    /// (true without one).
    static bool SetGridSizeIndex(int index);
    /// Makes the base plate of the theme and grid size under the grid; false when none could be made.
    static bool CreateBasePlate();
    /// Every mesh below the world frame takes the scene's light.
    static void UpdateWorldLighting();
    /// Relights the pieces of the cells within `radius` of `position` (none while a track is loaded).
    static void RelightPiecesAround(const CVector& position, float radius);
    /// The cells from `first` to `last` that a relight of `radius` around cell `centre` covers on a side of
    /// `size` cells; false when none (a radius of 0 or less relights nothing).
    static bool RelightSpan(std::uint32_t centre, float radius, std::uint32_t size, std::uint32_t& first,
                            std::uint32_t& last);
    /// The grid's corners in world space, half a tile outside the cells' centres.
    static void GetGridBounds(CVector& minimum, CVector& maximum);
    /// Whether an active object other than `object` meets its volumes.
    static bool IsTouchingActiveObject(const CWorldObject& object);
    /// The active objects but `excluded` whose volumes meet `volume`, in list order (paused ones too).
    static void GetActiveObjectsIn(const CWorldObject* excluded, CBoundingVolume& volume,
                                   std::vector<CWorldObject*>& out);

    // ---- the tick passes, in this order; objects made during a pass join it at the end ----
    /// Every object's tick, then the base plate's once more.
    static void UpdateObjects(unsigned ms);
    /// Every active object's simulation step.
    static void SimulateActiveObjects(unsigned ms);
    /// The objects' own track checks, then the active objects against the pieces near them and against
    /// each other.
    static void CollideObjects(unsigned ms);
    /// Every active object's end of step.
    static void FinishActiveObjects(unsigned ms);
    /// Every active object against the pieces near it.
    static void CollideActiveWithPieces();
    /// The piece under the object, else those half a tile round it (first hit wins); whether one hit.
    static bool CollideWithNearbyPieces(CActiveWorldObject& object);
    /// When their volumes meet, `object` hears kind 2 and the piece `other` the object's collision kind,
    /// each with the vector from the other towards itself; whether they met.
    static bool CollidePair(CWorldObject& object, CWorldObject& other);
    /// Each pair of active objects once, the earlier first: both hear kind 5 when their volumes meet.
    static void CollideActivePairs();

    static const TObjectList& GetObjectList();
    static const TActiveList& GetActiveList();
    /// Car slot i; null for a free slot and for i (as an unsigned byte) of 5 or more.
    static CWorldObject* GetCar(int i);
    /// Empties the five car slots; the cars stay in the world.
    static void ClearCarSlots();
    static int GetCarCount();
    static CWorldGrid* GetWorldGrid();
    static CFrame* GetWorldFrame();
    static ISpawningManLink* GetSpawningMan();
    static int GetGridSizeIndex();
    static CWorldObject* GetBasePlate();
    static bool IsSharedWorldSet();
    /// The seed drawn at the last race start, and the set-up it ran.
    static std::uint32_t GetRaceSeed();
    static const CRaceSetup& GetSavedRaceSetup();
    /// Number of live world managers.
    static int LiveCount();

private:
    static std::unique_ptr<CWorldObject> CreateObjectOfKind(int assetId, int lifeMs, int& kind);
    /// The piece on the grid cell under (x, z); null off the grid.
    static CWorldObject* PieceUnder(const CVector& position);
    static bool StartRaceWorld(int worldId);
};

} // namespace zentrix
