#include "world/WorldMan.h"

#include "engine/Frame.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/assets/FileSaver.h"
#include "foundation/math/Random.h"
#include "platform/fs/FileSystem.h"
#include "platform/system/DebugOutput.h"
#include "render/EngineMan.h"
#include "render/ParticleSystem.h"
#include "render/ShadowMan.h"
#include "render/VornMesh.h"
#include "ui/SlideOut.h"
#include "world/ActiveWorldObject.h"
#include "world/BarrelStuntObject.h"
#include "world/CannonTrackObject.h"
#include "world/CarObject.h"
#include "world/DoDTrackObject.h"
#include "world/JamTruck.h"
#include "world/LapOfHonourLink.h"
#include "world/LoopTrackObject.h"
#include "world/PickupObject.h"
#include "world/RaceWorldLink.h"
#include "world/ShadowWorldLink.h"
#include "world/SideForceTrackObject.h"
#include "world/SplodgeWO.h"
#include "world/TimedDeathTrackObject.h"
#include "world/TopographyFollower.h"
#include "world/TopographyWorldLink.h"
#include "world/TrackEditBuilder.h"
#include "world/TrackFileImage.h"
#include "world/TrackObject.h"
#include "world/WaterTrackObject.h"
#include "world/WorldGrid.h"
#include "world/WorldObject.h"
#include "world/WorldServices.h"
#include "world/WorldTopographyLink.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zentrix {

namespace {

/// What every world shares, and the registry's own state.
struct SShared {
    SWorldLinks links;
    int currentId = CWorldMan::kNoWorld;
    /// The managers by world id; id 3 has none of its own (the race world serves it).
    std::array<std::unique_ptr<CWorldMan>, CWorldMan::kWorldCount> worlds;
    std::unique_ptr<CShadowWorldLink> shadowWorld;
    /// What ground followers ask, installed while the worlds exist.
    CTopographyWorldLink topographyWorld;
    std::unique_ptr<CShadowMan> shadows;
    CWorldMan::TObjectList objects;
    CWorldMan::TActiveList active;
    std::array<CWorldObject*, CWorldMan::kCarSlots> cars{};
    int carCount = 0;
    std::unique_ptr<CWorldGrid> grid;
    /// Hung under the scene's root while the engine has one; outlives the shared world, since the
    /// shadow manager's quads hang under it until the manager goes.
    std::unique_ptr<CFrame> worldFrame;
    CWorldObject* basePlate = nullptr;
    int gridSizeIndex = 0;
    std::unique_ptr<ISpawningManLink> spawning;
    bool sharedWorld = false;
    std::uint32_t raceSeed = 0;
    CRaceSetup savedSetup{};
    int liveManagers = 0;
};

SShared& Shared() {
    static SShared shared;
    return shared;
}

// Construction, creation and destruction orders of the world managers, by id.
constexpr int kConstructOrder[] = {1, 2, 0, 7, 4, 5, 6, 10, 8, 9, 11, 12, 13, 14};
constexpr int kCreateOrder[] = {2, 1, 0, 4, 5, 7, 6, 8, 9, 11, 12, 10, 13, 14};
constexpr int kDestroyOrder[] = {2, 0, 1, 8, 9, 11, 12, 4, 5, 7, 6, 10, 13, 14};

IRaceWorldLink* RaceLink() {
    return dynamic_cast<IRaceWorldLink*>(Shared().worlds[CWorldMan::kRace].get());
}

/// The world's own class for an object kind; null for a kind it does not make.
std::unique_ptr<CWorldObject> MakeOwnClass(int kind, int assetId, int lifeMs) {
    if (kind == CWorldMan::kKindWorldObject)
        return std::make_unique<CWorldObject>(assetId, lifeMs, nullptr, -1);
    if (kind == CWorldMan::kKindActive)
        return std::make_unique<CActiveWorldObject>(assetId, lifeMs);
    if (kind == CWorldMan::kKindTrack)
        return std::make_unique<CTrackObject>(assetId);
    if (kind == CWorldMan::kKindCar)
        return std::make_unique<CCarObject>(assetId);
    if (kind == CWorldMan::kKindPickup)
        return std::make_unique<CPickupObject>(assetId, lifeMs);
    if (kind == CWorldMan::kKindSideForce)
        return std::make_unique<CSideForceTrackObject>(assetId);
    if (kind == CWorldMan::kKindTimedDeath)
        return std::make_unique<CTimedDeathTrackObject>(assetId);
    if (kind == CWorldMan::kKindCannon)
        return std::make_unique<CCannonTrackObject>(assetId);
    if (kind == CWorldMan::kKindWater)
        return std::make_unique<CWaterTrackObject>(assetId);
    if (kind == CWorldMan::kKindSplodge)
        return std::make_unique<CSplodgeWO>(assetId, lifeMs);
    if (kind == CWorldMan::kKindJamTruck)
        return std::make_unique<CJamTruck>(assetId);
    if (kind == CWorldMan::kKindBarrel)
        return std::make_unique<CBarrelStuntObject>(assetId);
    if (kind == CWorldMan::kKindLoop)
        return std::make_unique<CLoopTrackObject>(assetId);
    if (kind == CWorldMan::kKindDoD)
        return std::make_unique<CDoDTrackObject>(assetId);
    return nullptr;
}

/// Deletes the grid, the objects and the spawning manager, in this order.
void ReleaseSharedWorld() {
    SShared& shared = Shared();
    // Forgotten as it goes, so that no later world's deactivation walks a deleted grid.
    shared.grid.reset();
    CWorldMan::DeleteAllObjects();
    if (shared.spawning) {
        shared.spawning->Disable();
        shared.spawning->StopManager();
        shared.spawning.reset();
    }
    shared.sharedWorld = false;
}

} // namespace

// ---- the managers ----

CWorldMan::CWorldMan() {
    Shared().currentId = kNoWorld;
    ++Shared().liveManagers;
}

CWorldMan::~CWorldMan() {
    --Shared().liveManagers;
}

int CWorldMan::Create() {
    m_started = true;
    return 0;
}

int CWorldMan::Destroy() {
    m_started = false;
    return 0;
}

void CWorldMan::Deactivate() {
    ClearWorld();
}

void CWorldMan::Frame(unsigned ms) {
    PreFrame();
    IWorldServices* services = GetServices();
    if (!services || !services->UseGameTimer())
        CWorldMan::Tick(ms);
}

void CWorldMan::Tick(unsigned ms) {
    SShared& shared = Shared();
    // Removing one object may delete others with it, so the walk starts again after each removal.
    bool removed = true;
    while (removed) {
        removed = false;
        for (const auto& object : shared.objects)
            if (object && object->IsDead()) {
                RemoveObject(object.get());
                removed = true;
                break;
            }
    }
    if (shared.spawning)
        shared.spawning->Update(ms);
}

bool CWorldMan::InitSharedWorld() {
    SShared& shared = Shared();
    if (shared.sharedWorld)
        return true;
    const std::uint32_t cells = shared.gridSizeIndex == 1 ? 16 : 8;
    shared.grid = std::make_unique<CWorldGrid>(cells, cells);
    if (shared.grid->GetSizeX() != cells) {
        shared.grid.reset();
        return false;
    }
    if (shared.links.makeSpawningMan)
        shared.spawning = shared.links.makeSpawningMan();
    if (shared.spawning) {
        shared.spawning->StartManager();
        shared.spawning->Enable();
    }
    DeleteAllObjects();
    if (!shared.worldFrame) {
        shared.worldFrame = std::make_unique<CFrame>();
        IWorldServices* services = GetServices();
        CEngineMan* engine = services ? services->GetEngineMan() : nullptr;
        if (CEntity* sceneRoot = engine ? engine->GetSceneRoot() : nullptr)
            sceneRoot->AddChild(shared.worldFrame.get());
    }
    shared.cars.fill(nullptr);
    shared.carCount = 0;
    shared.sharedWorld = true;
    return true;
}

bool CWorldMan::FreeSharedWorld() {
    SShared& shared = Shared();
    if (!shared.sharedWorld)
        return true;
    Deactivate();
    ReleaseSharedWorld();
    return true;
}

// ---- the registry ----

void CWorldMan::SetLinks(SWorldLinks links) {
    Shared().links = std::move(links);
}

const SWorldLinks& CWorldMan::GetLinks() {
    return Shared().links;
}

IWorldServices* CWorldMan::GetServices() {
    return Shared().links.services;
}

bool CWorldMan::CreateWorlds() {
    SShared& shared = Shared();
    DestroyWorlds();
    CTopographyFollower::SetWorld(&shared.topographyWorld);
    for (int id : kConstructOrder)
        if (shared.links.makeWorld)
            shared.worlds[static_cast<std::size_t>(id)] = shared.links.makeWorld(id);
    for (int id : kCreateOrder) {
        CWorldMan* world = shared.worlds[static_cast<std::size_t>(id)].get();
        if (world && world->Create() != 0) {
            DestroyWorlds();
            return false;
        }
    }
    IWorldServices* services = GetServices();
    IRenderAssets* renderAssets = services ? services->GetRenderAssets() : nullptr;
    if (!renderAssets) {
        DestroyWorlds();
        return false;
    }
    shared.shadowWorld = std::make_unique<CShadowWorldLink>();
    shared.shadows = std::make_unique<CShadowMan>(*renderAssets, *shared.shadowWorld);
    if (shared.shadows->StartManager() != 0) {
        DestroyWorlds();
        return false;
    }
    return true;
}

void CWorldMan::DestroyWorlds() {
    SShared& shared = Shared();
    if (CWorldMan* current = GetCurrentWorld())
        current->Deactivate();
    shared.currentId = kNoWorld;
    for (int id : kDestroyOrder) {
        std::unique_ptr<CWorldMan>& world = shared.worlds[static_cast<std::size_t>(id)];
        if (!world)
            continue;
        world->Deactivate();
        world->Destroy();
        world.reset();
    }
    if (shared.shadows) {
        shared.shadows->StopManager();
        shared.shadows.reset();
    }
    shared.shadowWorld.reset();
    // Worlds that never freed what they set up leave it here; then nothing hangs under the frame.
    ReleaseSharedWorld();
    shared.worldFrame.reset();
    if (CTopographyFollower::GetWorld() == &shared.topographyWorld)
        CTopographyFollower::SetWorld(nullptr);
}

void CWorldMan::FrameCurrentWorld(unsigned ms) {
    if (CWorldMan* current = GetCurrentWorld())
        current->Frame(ms);
    if (CShadowMan* shadows = Shared().shadows.get())
        shadows->UpdateShadows();
}

int CWorldMan::GetCurrentWorldId() {
    return Shared().currentId;
}

CWorldMan* CWorldMan::GetWorld(int worldId) {
    if (worldId == kLapOfHonour)
        worldId = kRace;
    if (worldId < 0 || worldId >= kWorldCount)
        return nullptr;
    return Shared().worlds[static_cast<std::size_t>(worldId)].get();
}

CWorldMan* CWorldMan::GetCurrentWorld() {
    return GetWorld(Shared().currentId);
}

IRaceWorldLink* CWorldMan::GetRaceWorld() {
    return RaceLink();
}

IWorldTopographyLink* CWorldMan::GetRaceTopography() {
    IRaceWorldLink* race = RaceLink();
    return race ? race->GetTopography() : nullptr;
}

bool CWorldMan::SetCurrentWorld(int worldId) {
    SShared& shared = Shared();
    if (worldId == shared.currentId)
        return true;
    IWorldServices* services = GetServices();
    // Messages meant for the old world must not reach the new one, whether or not the switch happens.
    if (services)
        services->ClearMessages();
    const int previous = shared.currentId;
    if (worldId == kRace || worldId == kLapOfHonour) {
        if (!StartRaceWorld(worldId))
            return false;
    } else {
        CWorldMan* target = GetWorld(worldId);
        if (!target || !target->CanActivate())
            return false;
        if (worldId == kConstruct && previous == kLapOfHonour && services)
            services->SetInputPlayback(false);
        if (CWorldMan* current = GetCurrentWorld())
            current->Deactivate();
        shared.currentId = worldId;
        target->Activate();
    }
    plat::system::DebugOutput("world: " + std::to_string(previous) + " -> " + std::to_string(worldId));
    return true;
}

bool CWorldMan::StartRaceWorld(int worldId) {
    SShared& shared = Shared();
    IRaceWorldLink* race = RaceLink();
    if (!race)
        return false;
    IWorldServices* services = GetServices();
    CAssetMan* assets = services ? services->GetAssetMan() : nullptr;
    CRaceSetup setup{};
    if (worldId == kRace) {
        shared.raceSeed = static_cast<std::uint32_t>(Random::Next());
        if (services && services->GetPreviousGameState() != kLapOfHonourState)
            services->BuildRaceSetup(shared.savedSetup);
        setup = shared.savedSetup;
    } else {
        setup = shared.savedSetup;
        Random::Seed(shared.raceSeed);
        CSlideOut* panel = services ? services->FindSlideOut(kLapOfHonourPanel) : nullptr;
        if (auto* lapOfHonour = dynamic_cast<ILapOfHonourLink*>(panel))
            lapOfHonour->FillRaceSetup(setup);
    }
    if (assets)
        assets->SetWorld(shared.savedSetup.world, false);
    // A switch from no world has nothing to deactivate.
    if (CWorldMan* current = GetCurrentWorld())
        current->Deactivate();
    shared.currentId = worldId;
    // Seeded right before the start in both cases, so that nothing the old world did on its way out
    // shifts the numbers the race draws: every lap of honour repeats the race.
    Random::Seed(shared.raceSeed);
    race->StartRace(setup, worldId == kLapOfHonour);
    if (worldId == kRace && services)
        services->SetInputRecording(true);
    return true;
}

// ---- objects ----

std::unique_ptr<CWorldObject> CWorldMan::CreateObjectOfKind(int assetId, int lifeMs, int& kind) {
    SShared& shared = Shared();
    IWorldServices* services = GetServices();
    CAssetMan* assets = services ? services->GetAssetMan() : nullptr;
    kind = assets ? assets->GetObjectKind(assetId) : -1;
    std::unique_ptr<CWorldObject> object;
    // What the links make comes first; the world's own class when they make nothing.
    if (kind >= 0 && shared.links.makeObjectOfKind)
        object = shared.links.makeObjectOfKind(kind, assetId, lifeMs);
    if (!object)
        object = MakeOwnClass(kind, assetId, lifeMs);
    if (!object)
        return nullptr;
    if (kind == kKindCar) {
        auto slot = std::find(shared.cars.begin(), shared.cars.end(), nullptr);
        if (slot != shared.cars.end()) {
            *slot = object.get();
            ++shared.carCount;
        }
    }
    object->Create();
    if (auto* active = dynamic_cast<CActiveWorldObject*>(object.get()))
        shared.active.push_back(active);
    return object;
}

CWorldObject* CWorldMan::CreateWorldObject(int assetId, float x, float y, float z, int lifeMs) {
    int kind = -1;
    std::unique_ptr<CWorldObject> object = CreateObjectOfKind(assetId, lifeMs, kind);
    if (!object)
        return nullptr;
    const int current = GetCurrentWorldId();
    if ((current == kRace || current == kLapOfHonour) && dynamic_cast<CActiveWorldObject*>(object.get()))
        if (IWorldTopographyLink* ground = GetRaceTopography()) {
            const float h = ground->GetHeight(x, z);
            if (h > y)
                y = h;
        }
    object->SetPosition(x, y, z);
    object->SetDirection(0.0f, 0.0f, 1.0f);
    Shared().objects.push_back(std::move(object));
    return Shared().objects.back().get();
}

bool CWorldMan::RemoveObject(CWorldObject* object) {
    SShared& shared = Shared();
    auto it = std::find_if(shared.objects.begin(), shared.objects.end(),
                           [object](const std::unique_ptr<CWorldObject>& o) { return o.get() == object; });
    if (!object || it == shared.objects.end())
        return false;
    CParticleSystem::DestroyByOwner(object);
    std::unique_ptr<CWorldObject> owned = std::move(*it);
    shared.objects.erase(it);
    shared.active.remove(dynamic_cast<CActiveWorldObject*>(object));
    // Contacts and force partners that name it go with it.
    for (const auto& other : shared.objects)
        if (other)
            other->ForgetObject(object);
    // Every object is reported: the manager keeps pieces and trucks and ignores the rest.
    if (shared.spawning)
        shared.spawning->RemoveObject(object);
    auto slot = std::find(shared.cars.begin(), shared.cars.end(), object);
    if (slot != shared.cars.end()) {
        *slot = nullptr;
        --shared.carCount;
    }
    if (shared.grid)
        shared.grid->ForgetObject(object);
    if (shared.basePlate == object)
        shared.basePlate = nullptr;
    owned.reset();
    return true;
}

bool CWorldMan::IsInWorld(const CWorldObject* object) {
    const TObjectList& objects = Shared().objects;
    return object &&
           std::any_of(objects.begin(), objects.end(),
                       [object](const std::unique_ptr<CWorldObject>& o) { return o.get() == object; });
}

void CWorldMan::DeleteAllObjects() {
    SShared& shared = Shared();
    // Each through RemoveObject, so that no list, slot or cell keeps a pointer to a deleted object.
    while (!shared.objects.empty()) {
        if (!shared.objects.front()) {
            shared.objects.pop_front();
            continue;
        }
        RemoveObject(shared.objects.front().get());
    }
    shared.basePlate = nullptr;
}

void CWorldMan::ClearWorld() {
    SShared& shared = Shared();
    CParticleSystem::DestroyAll();
    RemoveTrack();
    DeleteAllObjects();
    shared.active.clear();
    shared.cars.fill(nullptr);
    // No car is left in a slot, so none is counted.
    shared.carCount = 0;
}

void CWorldMan::ClearCarSlots() {
    SShared& shared = Shared();
    shared.cars.fill(nullptr);
    shared.carCount = 0;
}

void CWorldMan::RemoveTrack() {
    SShared& shared = Shared();
    CWorldGrid* grid = shared.grid.get();
    if (!grid)
        return;
    if (shared.spawning)
        shared.spawning->RemoveAllPickups();
    for (std::uint32_t x = 0; x < grid->GetSizeX(); ++x)
        for (std::uint32_t z = 0; z < grid->GetSizeZ(); ++z) {
            CWorldObject* piece = grid->GetPieceAt(x, z);
            grid->ClearCellObject(x, z);
            if (piece) {
                grid->RemovePiece(x, z);
                RemoveObject(piece);
            }
        }
    grid->ClearAllCells();
}

bool CWorldMan::IsTouchingActiveObject(const CWorldObject& object) {
    for (CActiveWorldObject* other : Shared().active)
        if (other && other != &object && CWorldObject::BoundingVolumesIntersect(object, *other))
            return true;
    return false;
}

// ---- accessors ----

const CWorldMan::TObjectList& CWorldMan::GetObjectList() {
    return Shared().objects;
}

const CWorldMan::TActiveList& CWorldMan::GetActiveList() {
    return Shared().active;
}

CWorldObject* CWorldMan::GetCar(int i) {
    const auto slot = static_cast<std::uint8_t>(i);
    return slot < kCarSlots ? Shared().cars[slot] : nullptr;
}

int CWorldMan::GetCarCount() {
    return Shared().carCount;
}

CWorldGrid* CWorldMan::GetWorldGrid() {
    return Shared().grid.get();
}

CFrame* CWorldMan::GetWorldFrame() {
    return Shared().worldFrame.get();
}

ISpawningManLink* CWorldMan::GetSpawningMan() {
    return Shared().spawning.get();
}

int CWorldMan::GetGridSizeIndex() {
    return Shared().gridSizeIndex;
}

CWorldObject* CWorldMan::GetBasePlate() {
    return Shared().basePlate;
}

bool CWorldMan::IsSharedWorldSet() {
    return Shared().sharedWorld;
}

std::uint32_t CWorldMan::GetRaceSeed() {
    return Shared().raceSeed;
}

const CRaceSetup& CWorldMan::GetSavedRaceSetup() {
    return Shared().savedSetup;
}

int CWorldMan::LiveCount() {
    return Shared().liveManagers;
}

// ---- the track as a whole ----

namespace {

/// What the track is built with: the links' builder, else the track-edit operations.
ITrackBuildLink& Builder() {
    static CTrackEditBuilder edits;
    ITrackBuildLink* link = Shared().links.trackBuild;
    return link ? *link : edits;
}

CAssetMan* TrackAssets() {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetAssetMan() : nullptr;
}

/// Heights, pieces (-1: none) and rotations of every cell, taken before a track is rebuilt.
struct STrackSnapshot {
    static constexpr std::uint32_t kCells = 64;
    std::array<float, kCells * kCells> heights{};
    std::array<std::int32_t, kCells * kCells> pieces{};
    std::array<std::int32_t, kCells * kCells> rotations{};

    /// `theme` -1 keeps the ids, otherwise they are translated to the theme's. Cells holding the filler
    /// piece `fillerId` count as empty.
    void Take(const CWorldGrid& grid, int fillerId, int theme, CAssetMan* assets) {
        pieces.fill(-1);
        heights.fill(0.0f);
        rotations.fill(0);
        for (std::uint32_t x = 0; x < std::min(grid.GetSizeX(), kCells); ++x)
            for (std::uint32_t z = 0; z < std::min(grid.GetSizeZ(), kCells); ++z) {
                const std::size_t i = x * kCells + z;
                heights[i] = grid.GetCellHeight(x, z);
                const CTrackObject* piece = grid.GetPieceAt(x, z);
                if (!piece || piece->GetTypeId() == fillerId || grid.IsCoveredCell(x, z))
                    continue;
                pieces[i] = theme < 0 || !assets ? piece->GetTypeId()
                                                 : assets->GetWorldEquivalentId(piece->GetTypeId(), theme);
                rotations[i] = piece->GetRotation();
            }
    }

    void Rebuild(const CWorldGrid& grid) const {
        ITrackBuildLink& builder = Builder();
        const std::uint32_t width = std::min(grid.GetSizeX(), kCells);
        const std::uint32_t depth = std::min(grid.GetSizeZ(), kCells);
        for (std::uint32_t x = 0; x < width; ++x)
            for (std::uint32_t z = 0; z < depth; ++z)
                builder.SetTileHeight(x, z, heights[x * kCells + z]);
        for (std::uint32_t x = 0; x < width; ++x)
            for (std::uint32_t z = 0; z < depth; ++z)
                if (pieces[x * kCells + z] != -1)
                    builder.PlaceTrackPiece(pieces[x * kCells + z], x, z,
                                            static_cast<std::uint32_t>(rotations[x * kCells + z]));
    }
};

} // namespace

bool CWorldMan::LoadTrack(std::string_view fileName, int slot) {
    CAssetMan* assets = TrackAssets();
    CFileSaver* files = assets ? assets->GetFileSaver() : nullptr;
    std::vector<std::uint8_t> bytes;
    bool read = false;
    if (files) {
        // Asked first: the read takes the whole file, and nothing larger than an image is a track.
        const plat::fs::SizeResult size = plat::fs::FileSize(files->GetFullPath(slot, fileName));
        if (size.error == plat::fs::Error::kNone && size.size <= CTrackFileImage::kSize)
            read = assets->LoadFile(slot, fileName, bytes);
        else if (size.error == plat::fs::Error::kNone)
            plat::system::DebugOutput("track file is larger than a track image: " + std::string(fileName));
    }
    CVornMesh::SetLightingSuspended(true);
    RemoveTrack();
    bool built = false;
    if (read && !bytes.empty() && Shared().grid)
        built = Shared().grid->LoadFromImage(bytes);
    CVornMesh::SetLightingSuspended(false);
    UpdateWorldLighting();
    return read && built;
}

bool CWorldMan::SaveTrack(std::string_view fileName, int slot) {
    CAssetMan* assets = TrackAssets();
    CWorldGrid* grid = Shared().grid.get();
    if (!assets || !grid)
        return false;
    const std::unique_ptr<CTrackFileImage> image = grid->CreateSaveData();
    return image && assets->SaveFile(fileName, slot, image->Data(), CTrackFileImage::kSize);
}

void CWorldMan::SetTheme(int theme) {
    CAssetMan* assets = TrackAssets();
    CWorldGrid* grid = Shared().grid.get();
    if (!assets || assets->GetWorld() == theme)
        return;
    auto snapshot = std::make_unique<STrackSnapshot>();
    if (grid)
        snapshot->Take(*grid, assets->GetWorldBaseId(), theme, assets);
    CVornMesh::SetLightingSuspended(true);
    assets->SetWorld(theme, false);
    RemoveTrack();
    Builder().CreateBasePlate();
    if (grid)
        snapshot->Rebuild(*grid);
    CVornMesh::SetLightingSuspended(false);
    UpdateWorldLighting();
}

void CWorldMan::SetGridSize(int index) {
    SShared& shared = Shared();
    if (index == shared.gridSizeIndex || index < 0 || index > 1)
        return;
    SetGridSizeIndex(index);
    // The pieces keep their ids; the filler pieces are left out, as in a theme change: the new grid's
    // ground tiles come with its heights.
    CAssetMan* assets = TrackAssets();
    auto snapshot = std::make_unique<STrackSnapshot>();
    if (shared.grid)
        snapshot->Take(*shared.grid, assets ? assets->GetWorldBaseId() : -1, -1, nullptr);
    RemoveTrack();
    Builder().SetGridSizeIndex(index);
    const std::uint32_t cells = index == 1 ? 16 : 8;
    shared.grid = std::make_unique<CWorldGrid>(cells, cells);
    snapshot->Rebuild(*shared.grid);
    Builder().CreateBasePlate();
}

bool CWorldMan::SetGridSizeIndex(int index) {
    Shared().gridSizeIndex = index;
    IWorldServices* services = GetServices();
    if (CEngineMan* engine = services ? services->GetEngineMan() : nullptr)
        engine->PlaceDefaultLights(index == 1);
    const std::function<bool(bool)>& apply = GetLinks().applyGridSize;
    return apply ? apply(index == 1) : true;
}

bool CWorldMan::CreateBasePlate() {
    SShared& shared = Shared();
    if (shared.basePlate) {
        CWorldObject* old = shared.basePlate;
        shared.basePlate = nullptr;
        RemoveObject(old);
    }
    CAssetMan* assets = TrackAssets();
    const bool large = shared.gridSizeIndex == 1;
    const int id = assets ? assets->GetBasePlateId(assets->GetWorld(), large) : -1;
    const float centre = large ? 140.0f : 12.0f;
    if (id != -1) {
        CWorldObject* plate = CreateWorldObject(id, centre, 0.0f, centre, -1);
        if (auto* piece = dynamic_cast<CTrackObject*>(plate)) {
            shared.basePlate = piece;
            piece->OnPlaced();
            if (CVornMesh* mesh = piece->GetMesh())
                mesh->SetName("BPLA");
        } else if (plate) {
            RemoveObject(plate);
        }
    }
    return shared.basePlate != nullptr;
}

void CWorldMan::UpdateWorldLighting() {
    IWorldServices* services = GetServices();
    CEngineMan* engine = services ? services->GetEngineMan() : nullptr;
    if (Shared().worldFrame && engine)
        CVornMesh::ApplySceneLighting(Shared().worldFrame.get(), *engine);
}

bool CWorldMan::RelightSpan(std::uint32_t centre, float radius, std::uint32_t size, std::uint32_t& first,
                            std::uint32_t& last) {
    if (!(radius > 0.0f) || size == 0)
        return false;
    // Clamped to the grid, so that a huge radius visits each cell once at most.
    const double n = std::floor((static_cast<double>(radius) + 15.0) / 30.0);
    const double low = std::max(0.0, static_cast<double>(centre) - n);
    const double high = std::min(static_cast<double>(size) - 1.0, static_cast<double>(centre) + n);
    if (low > high)
        return false;
    first = static_cast<std::uint32_t>(low);
    last = static_cast<std::uint32_t>(high);
    return true;
}

void CWorldMan::RelightPiecesAround(const CVector& position, float radius) {
    CWorldGrid* grid = Shared().grid.get();
    std::uint32_t x0 = 0, x1 = 0, z0 = 0, z1 = 0;
    if (CVornMesh::IsLightingSuspended() || !grid ||
        !RelightSpan(CWorldGrid::WorldXToIndex(position.x), radius, grid->GetSizeX(), x0, x1) ||
        !RelightSpan(CWorldGrid::WorldZToIndex(position.z), radius, grid->GetSizeZ(), z0, z1))
        return;
    for (std::uint32_t x = x0; x <= x1; ++x)
        for (std::uint32_t z = z0; z <= z1; ++z)
            if (CTrackObject* piece = grid->GetPieceAt(x, z))
                if (CVornMesh* mesh = piece->GetMesh())
                    mesh->ApplySceneLighting();
}

void CWorldMan::GetGridBounds(CVector& minimum, CVector& maximum) {
    // Half a tile of margin round the cells' centres.
    const CVector margin(CWorldGrid::kTileSize / 2.0f, 0.0f, CWorldGrid::kTileSize / 2.0f);
    const CWorldGrid* grid = CWorldMan::GetWorldGrid();
    minimum = CWorldGrid::GridToWorld(CVector()) - margin;
    maximum = grid ? CWorldGrid::GridToWorld(CVector(static_cast<float>(grid->GetSizeX()), 0.0f,
                                                     static_cast<float>(grid->GetSizeZ()))) -
                         margin
                   : minimum;
}

} // namespace zentrix
