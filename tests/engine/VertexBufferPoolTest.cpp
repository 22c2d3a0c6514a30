#include "engine/VertexBufferPool.h"
#include "engine/AlignedAlloc.h"
#include "foundation/base/Messages.h"
#include "platform/raster/VertexBuffer.h"
#include "support/FakeDisplayDriver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

using namespace zentrix;

namespace {

using Entry = CVertexBufferPool::Entry;
using plat::raster::kLayoutLit;
using plat::raster::kLayoutPrelit;

std::vector<std::vector<int>> Table(const CVertexBufferPool& pool) {
    std::vector<std::vector<int>> rows;
    for (const Entry& e : pool.Entries())
        rows.push_back({e.first, e.count, e.inUse ? 1 : 0, e.id});
    return rows;
}

TEST(VertexBufferPool, BestFitSplitsAndFreedNeighboursMerge) {
    CVertexBufferPool pool(kLayoutPrelit, 24, 100);
    const int a = pool.Allocate(10), b = pool.Allocate(20), c = pool.Allocate(30);
    EXPECT_EQ((std::vector{a, b, c}), (std::vector{1, 2, 3}));
    EXPECT_TRUE(pool.Free(b));
    EXPECT_TRUE(pool.Free(a));
    EXPECT_EQ(Table(pool), (std::vector<std::vector<int>>{{0, 30, 0, 1}, {30, 30, 1, 3}}));

    // A smaller request splits the entry; the rest takes the smallest id no entry holds.
    EXPECT_EQ(pool.Allocate(12), 1);
    EXPECT_EQ(Table(pool), (std::vector<std::vector<int>>{{0, 12, 1, 1}, {12, 18, 0, 2}, {30, 30, 1, 3}}));
    // An equal request takes the entry whole; with no free entry large enough, room is appended.
    EXPECT_EQ(pool.Allocate(18), 2);
    EXPECT_EQ(pool.Allocate(40), 4);
    EXPECT_EQ(pool.Entries().back().first, 60);
    EXPECT_EQ(pool.Allocate(1), 0); // full
    EXPECT_FALSE(pool.Free(99));
}

TEST(VertexBufferPool, DevicePoolsGrowPerLayoutAndLockOnce) {
    testsupport::TestDisplay display;
    const int poolsBefore = VertexPoolCount();
    const long long bytesBefore = VertexBytesInUse();
    auto small = GetVertexBlock(*display, {0, kLayoutPrelit, 100}, 6);
    auto other = GetVertexBlock(*display, {0, kLayoutLit, 100}, 8);
    auto second = GetVertexBlock(*display, {0, kLayoutPrelit, 50}, 6);
    ASSERT_TRUE(small && other && second);
    EXPECT_EQ(second->pool, small->pool);
    EXPECT_NE(other->pool, small->pool);
    EXPECT_EQ(small->pool->Capacity(), 65536 / 24);                    // at least 64 KB
    auto huge = GetVertexBlock(*display, {0, kLayoutPrelit, 5000}, 6); // more than any pool's room
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->pool->Capacity(), 5000);
    EXPECT_EQ(VertexPoolCount() - poolsBefore, 3);
    EXPECT_EQ(display->VertexPools().front().get(), huge->pool); // newest first
    EXPECT_EQ(VertexBytesInUse() - bytesBefore, 24 * 5150 + 32 * 100);
    const ErrorHandler old = SetErrorHandler([](int, const char*) {});       // as the game installs it
    EXPECT_EQ(GetVertexBlock(*display, {0, kLayoutPrelit, 10}, 8), nullptr); // size does not fit layout
    SetErrorHandler(old);

    std::uint8_t* base = LockVertexBlock(*small);
    EXPECT_EQ(LockVertexBlock(*small), base); // already locked: same address, no second lock
    EXPECT_EQ(LockVertexBlock(*second), base + 100 * 24);
    EXPECT_EQ(small->pool->LockCount(), 2);
    UnlockVertexBlock(*small);
    EXPECT_EQ(small->pool->LockCount(), 1);
    FreeVertexBlock(std::move(second)); // unlocks on the way
    EXPECT_EQ(small->pool->LockCount(), 0);
    FreeVertexBlock(std::move(small));
    FreeVertexBlock(std::move(other));
    FreeVertexBlock(std::move(huge));
    EXPECT_EQ(VertexBytesInUse(), bytesBefore);
}

TEST(AlignedAlloc, BlocksAre32ByteAlignedAndFreeCleanly) {
    std::vector<void*> blocks;
    for (std::size_t size : {1u, 7u, 24u, 4096u, 100000u}) {
        void* p = AlignedAlloc(size);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 32, 0u);
        std::memset(p, 0xAB, size); // the whole block is usable (the sanitizer checks)
        blocks.push_back(p);
    }
    for (void* p : blocks)
        AlignedFree(p);
    AlignedFree(nullptr);
}

} // namespace
