#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace plat::raster {
class VertexBuffer;
}

namespace zentrix {

class CDisplayDevice;
class CVertexBufferPool;

/// What a caller asks of a vertex buffer: its layout bits, capabilities and vertex count.
struct VertexBufferDescription {
    std::uint32_t caps = 0;
    std::uint32_t layout = 0;
    int vertexCount = 0;
};

/// A caller's hold on a block of a pool: the pool, the block's id and whether the caller has it locked.
struct VertexBlock {
    CVertexBufferPool* pool = nullptr;
    int id = 0;
    bool locked = false;
};

/// One large vertex buffer of one layout, carved into blocks handed out by best fit and merged again
/// when freed. The block table stays in vertex order.
class CVertexBufferPool {
public:
    /// One entry of the block table.
    struct Entry {
        int first = -1;
        int count = -1;
        bool inUse = false;
        int id = 0;
    };

    /// A pool for `layout` with room for `capacity` vertices of `stride` bytes.
    CVertexBufferPool(std::uint32_t layout, int stride, int capacity);
    ~CVertexBufferPool();

    /// A block of n vertices: the smallest free entry that holds them (split when larger), else room
    /// appended at the end; the id of the block, or 0 when the pool cannot serve the request.
    int Allocate(int n);
    /// Frees the block of `id` and merges neighbouring free entries; false for an id no entry holds.
    bool Free(int id);
    /// Address of a block's first vertex, locking the buffer on the first lock.
    std::uint8_t* LockBlock(int id);
    /// Address of a block's first vertex while the buffer is locked (else null).
    std::uint8_t* BlockAddress(int id) const;
    /// Unlocks one lock; the buffer is unlocked with the last.
    void UnlockBlock();

    std::uint32_t Layout() const { return m_layout; }
    int Stride() const { return m_stride; }
    int Capacity() const { return m_capacity; }
    int LockCount() const { return m_lockCount; }
    const std::vector<Entry>& Entries() const { return m_entries; }
    plat::raster::VertexBuffer& Buffer() { return *m_buffer; }
    /// Index of the entry holding id, or -1.
    int FindEntry(int id) const;

private:
    int FreshId() const;

    std::vector<Entry> m_entries;
    int m_handedOut = 0;
    std::unique_ptr<plat::raster::VertexBuffer> m_buffer;
    int m_lockCount = 0;
    std::uint32_t m_layout;
    int m_stride;
    int m_capacity;
    std::uint8_t* m_base = nullptr;
};

/// A block of `description.vertexCount` vertices from the first of the device's pools of that layout
/// that can serve it, or from a new pool (at least 64 KB) made for it; null for an empty request.
std::unique_ptr<VertexBlock> GetVertexBlock(CDisplayDevice& device,
                                            const VertexBufferDescription& description, int vertexWords);
/// Address of the block's first vertex; locking an already locked block gives the address again.
std::uint8_t* LockVertexBlock(VertexBlock& block);
/// Ends the block's lock.
void UnlockVertexBlock(VertexBlock& block);
/// Unlocks and frees the block.
void FreeVertexBlock(std::unique_ptr<VertexBlock> block);

/// Number of pools of all devices.
int VertexPoolCount();
/// Bytes of vertices handed out in blocks now in use.
long long VertexBytesInUse();

} // namespace zentrix
