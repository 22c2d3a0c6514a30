#pragma once

#include "world/SpawningManLink.h"

#include <cstdint>
#include <list>

namespace zentrix {

class CTrackObject;
class CWorldObject;

/// Remembers the spawn pads placed on the track grid and, while a race runs and is not paused, offers a
/// new pickup on each pad (or calls in the jam truck on the truck pad) whenever the pad's period has
/// passed. One for the shared world: the registry makes it with the shared world, the grid reports placed
/// and removed pieces, the registry removed objects, and the registry's tick advances it.
class CSpawningMan : public ISpawningManLink {
public:
    /// Columns of the pad table; slot 2 names no piece, slot 6 offers the theme's own drop.
    static constexpr int kSlotCount = 8;
    static constexpr int kThemeSlot = 6;
    static constexpr int kTruckSlot = 7;
    /// Every pad offers anew this long after the last offer.
    static constexpr std::uint32_t kPeriodMs = 3000;
    /// How long an offered pickup floats.
    static constexpr int kPickupLifeMs = 3000;
    /// The jam truck starts this long after it is called, with its factory driver in this slot.
    static constexpr int kTruckDelayMs = 2000;
    static constexpr int kTruckDriverSlot = 4;
    /// A jam truck driven from a slot outside this range ends the truck pad's call.
    static constexpr int kLowestTruckSlot = 4;
    static constexpr int kHighestTruckSlot = 8;

    /// One pad on the grid.
    struct SSpawnRecord {
        int typeId = 0;
        std::uint32_t slot = 0;
        std::int32_t gridX = 0;
        std::int32_t gridZ = 0;
        std::uint32_t rotation = 0;
        /// Milliseconds since the pad last offered.
        std::uint32_t elapsed = 0;
        CTrackObject* piece = nullptr;
        /// The jam truck this pad called in; null for none.
        CWorldObject* spawned = nullptr;
    };

    int StartManager() override { return 0; }
    int StopManager() override { return 0; }
    void Enable() override { m_enabled = true; }
    void Disable() override { m_enabled = false; }
    bool IsEnabled() const { return m_enabled; }

    /// A spawn pad placed on the grid is recorded (once a cell and type); the first update offers at
    /// once. Other objects are ignored.
    void AddObject(CWorldObject* object) override;
    /// A pad leaving the grid drops its first record; a jam truck leaving the world frees its pad.
    void RemoveObject(CWorldObject* object) override;
    /// Forgets every pad and marks every pickup in the world dead.
    void RemoveAllPickups() override;
    /// Nothing while the race is paused; else every pad's time goes on, and those past their period
    /// (strictly) offer again.
    void Update(unsigned ms) override;

    const std::list<SSpawnRecord>& GetRecords() const { return m_records; }
    /// The slot of a piece type: the last column of the pad table naming it; -1 for no pad.
    static int SlotOf(int typeId);
    /// The pickup asset and type a slot offers in a theme (0..3); false for the truck slot and slots or
    /// themes outside the table.
    static bool GetOffer(int slot, int theme, int& assetId, int& pickupType);

private:
    void Respawn(const SSpawnRecord& record);
    void CreatePickup(const SSpawnRecord& record, int assetId, int pickupType);
    void CreateJamTruck(const SSpawnRecord& record);

    bool m_enabled = false;
    std::list<SSpawnRecord> m_records;
};

} // namespace zentrix
